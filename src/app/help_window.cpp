#include "app/help_window.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "app/tool_glyphs.h"

namespace olve {

namespace {

const char* const ProductName = "Olve Player";

// How the player is used: the keys and buttons, as a page of text drawn for the help page.
const char* const Instructions =
    "タイトル (.qzw) をウィンドウにドロップするか、\n"
    "コマンドラインで指定すると再生が始まります。\n\n"
    "  T / Home      はじめから  play from Top\n"
    "  H / Enter     ここをもう一度  play Here\n"
    "  N / +         つぎ  play Next\n"
    "  B / -         もどる  play Back\n"
    "  P / Space     ポーズ  Pause\n"
    "  S / Esc       止める  Stop\n"
    "  A / 1         オートポーズ  Autopause\n"
    "  L / 0         項目一覧  card list\n"
    "  ← / →         1語もどる / すすむ (語の時刻がなければ2秒)\n"
    "  F1 / F2       本文の文字を小さく / 大きく\n"
    "  F3 / F4       訳の文字を小さく / 大きく\n"
    "  [ / ]         話す速さを遅く / 速く  slower / faster\n"
    "  \\             元の速さ  normal speed\n"
    "  R             くり返し 1/2/3/5回/∞  Repeat\n"
    "  W             シャドーイングの間 0-2倍  shadoWing\n"
    "  E / J         英文 / 訳: 表示・聞いてから・隠す\n"
    "  O             ループ (一覧で選んだ範囲)  lOop\n\n"
    "本文をダブルクリックすると、その文を再生します。\n"
    "単語の時刻があるカードでは、その単語から再生します。\n"
    "進行バーをクリック・ドラッグすると、その位置へ移動します。\n"
    "本文と訳の境目はドラッグで動かせます。\n"
    "絵の上をドラッグすると線が引けます。";

}  // namespace

TFormHelp::TFormHelp(QWidget* parent, const QString& version) : QDialog(parent)
{
    setObjectName("FormHelp");
    setWindowTitle("利用案内");
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(349, 712);

    auto* layout = new QVBoxLayout(this);
    auto* btOK = new QPushButton("とじる", this);
    btOK->setObjectName("btOK");
    btOK->setDefault(true);
    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(btOK, 0, Qt::AlignLeft);

    PageControl1 = new QTabWidget(this);
    auto* tsOpe = new QWidget;
    auto* opeLayout = new QVBoxLayout(tsOpe);
    auto* imOpeHelp = new QLabel(Instructions, tsOpe);
    imOpeHelp->setWordWrap(true);
    imOpeHelp->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    opeLayout->addWidget(imOpeHelp, 1);
    auto* Button1 = new QPushButton("オンラインヘルプ", tsOpe);
    auto* Button2 = new QPushButton("オンラインサポート", tsOpe);
    connect(Button1, &QPushButton::clicked, this, [] { QDesktopServices::openUrl(QUrl(HelpAddress)); });
    connect(Button2, &QPushButton::clicked, this, [] { QDesktopServices::openUrl(QUrl(SupportAddress)); });
    opeLayout->addWidget(Button1);
    opeLayout->addWidget(Button2);
    PageControl1->addTab(tsOpe, "    利用案内    ");

    auto* tsAbout = new QWidget;
    tsAbout->setAutoFillBackground(true);
    QPalette black = tsAbout->palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::Base, Qt::black);
    black.setColor(QPalette::Text, Qt::white);
    tsAbout->setPalette(black);
    auto* aboutLayout = new QVBoxLayout(tsAbout);
    auto* Image1 = new QLabel(tsAbout);
    Image1->setPixmap(GlyphPixmap(TGlyph::Here, 48));
    aboutLayout->addWidget(Image1, 0, Qt::AlignHCenter);
    mmAbout = new QPlainTextEdit(tsAbout);
    mmAbout->setReadOnly(true);
    mmAbout->setFrameShape(QFrame::NoFrame);
    mmAbout->setPalette(black);
    const QString shown = version.isEmpty() ? QString("不明") : version;
    mmAbout->setPlainText(QString("\n\n") + ProductName + " ネット版 Rindale\n\nバージョン： " + shown + "\n\n" +
                          QString(37, '-') + "\n\nEnglish learning, one card at a time.");
    QTextOption centred = mmAbout->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    mmAbout->document()->setDefaultTextOption(centred);
    aboutLayout->addWidget(mmAbout, 1);
    PageControl1->addTab(tsAbout, QString(ProductName) + "について");
    layout->addWidget(PageControl1, 1);
}

QString TFormHelp::AboutText() const
{
    return mmAbout->toPlainText();
}

}  // namespace olve
