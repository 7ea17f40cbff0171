#include "app/help_window.h"

#include <QHeaderView>
#include <iterator>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/startup_check.h"
#include "app/tool_glyphs.h"
#include "app/user_guide.h"

namespace olve {

namespace {

struct THelpLine {
    const char* Keys;
    const char* Meaning;
};

// How the player is used: the keys, then what the mouse does.
constexpr THelpLine HelpLines[] = {
    {"T / Home", "はじめから  play from Top"},
    {"H / Enter", "ここをもう一度  play Here"},
    {"N / +", "つぎ  play Next"},
    {"B / -", "もどる  play Back"},
    {"P / Space", "ポーズ  Pause"},
    {"S / Esc", "止める  Stop"},
    {"A / 1", "オートポーズ  Autopause"},
    {"L / 0", "項目一覧  card list"},
    {"Left / Right", "1語もどる / すすむ (語の時刻がなければ2秒)  a word (or 2 s) back / on"},
    {"F1 / F2", "本文の文字を小さく / 大きく"},
    {"F3 / F4", "訳の文字を小さく / 大きく"},
    {"[ / ]", "話す速さを遅く / 速く  slower / faster"},
    {"\\", "元の速さ  normal speed"},
    {"Z / X", "字幕を 0.05 秒早く / 遅く  cards 50 ms earlier / later"},
    {"Shift+Z / Shift+X", "字幕を 1 秒早く / 遅く  cards 1 s earlier / later"},
    {"C / V", "このカードの始まりを 0.05 秒早く / 遅く  card start 50 ms earlier / later"},
    {"Shift+C / Shift+V", "このカードの終わりを 0.05 秒早く / 遅く  card end 50 ms earlier / later"},
    {"Ctrl+Z", "字幕の時刻の変更をひとつもどす  undo the last change of the card times"},
    {"Y", "字幕を音声に合わせる  sync the cards to the speech"},
    {"U", "文ごとのカードと字幕の行ごとのカードを切り替える  one card per sentence, or per subtitle line"},
    {"R", "くり返し 1/2/3/5回/∞  Repeat"},
    {"W", "シャドーイングの間 0-2倍  shadoWing"},
    {"E / J", "英文 / 訳: 表示・聞いてから・隠す"},
    {"O", "ループ (一覧で選んだ範囲)  lOop"},
    {"G", "前回の続きから (お知らせが出ているとき)  Go on from last time"},
    {"?", "この利用案内  this help"},
    {"Ctrl+O", "開く (タイトル、録音・録画と字幕)  Open a title or a recording"},
    {"ダブルクリック", "本文の文を再生 (単語の時刻があればその単語から)  double-click: play the sentence (from the word)"},
    {"進行バー", "クリック・ドラッグでその位置へ  click or drag the progress bar: go there"},
    {"本文と訳の境目", "ドラッグで動かせます  drag the divider between English and Japanese"},
    {"スピーカー", "マウスを重ねると音量のつまみ  mouse over the speaker: the volume"},
    {"絵をドラッグ", "線を引く (Ctrl+クリックで直線)  drag on the picture: draw lines"},
    {"絵を右クリック", "線をひとつもどす・やり直す・すべて消す  right-click the picture: undo, redo, clear lines"},
};

QTableWidget* NewKeyTable(QWidget* parent)
{
    auto* table = new QTableWidget(static_cast<int>(std::size(HelpLines)), 2, parent);
    table->setObjectName("tbKeys");
    table->setHorizontalHeaderLabels({"キー Key", "操作 What it does"});
    table->verticalHeader()->hide();
    table->setShowGrid(false);
    table->setWordWrap(false);
    table->setTextElideMode(Qt::ElideNone);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    for (int row = 0; row < table->rowCount(); ++row) {
        table->setItem(row, 0, new QTableWidgetItem(QString::fromUtf8(HelpLines[row].Keys)));
        table->setItem(row, 1, new QTableWidgetItem(QString::fromUtf8(HelpLines[row].Meaning)));
    }
    table->resizeColumnToContents(0);
    table->setColumnWidth(0, table->columnWidth(0) + 12);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return table;
}

}  // namespace

TFormHelp::TFormHelp(QWidget* parent, const QString& version, TPrompts& prompts, const QStringList& guideFolders)
    : QDialog(parent)
{
    setObjectName("FormHelp");
    setWindowTitle("利用案内");
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(false);
    resize(760, 640);

    auto* layout = new QVBoxLayout(this);
    auto* btOK = new QPushButton("とじる", this);
    btOK->setObjectName("btOK");
    btOK->setDefault(true);
    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(btOK, 0, Qt::AlignLeft);

    PageControl1 = new QTabWidget(this);
    PageControl1->addTab(CreateUsagePage(prompts, guideFolders), "    利用案内    ");
    PageControl1->addTab(CreateAboutPage(version), QString(ApplicationTitle) + " について");
    layout->addWidget(PageControl1, 1);
}

QWidget* TFormHelp::CreateUsagePage(TPrompts& prompts, const QStringList& guideFolders)
{
    auto* tsOpe = new QWidget;
    auto* opeLayout = new QVBoxLayout(tsOpe);
    auto* lbStart = new QLabel("タイトル (.qzw) をウィンドウにドロップするか、コマンドラインで指定すると"
                               "再生が始まります。\nDrop a title (.qzw) on the window, or name it on the command line.",
                               tsOpe);
    lbStart->setWordWrap(true);
    opeLayout->addWidget(lbStart);
    tbKeys = NewKeyTable(tsOpe);
    opeLayout->addWidget(tbKeys, 1);
    auto guideButton = [&](const char* name, const QString& caption, const char* page) {
        auto* button = new QPushButton(caption, tsOpe);
        button->setObjectName(name);
        connect(button, &QPushButton::clicked, this,
                [&prompts, guideFolders, page] { OpenUserGuide(guideFolders, page, prompts); });
        opeLayout->addWidget(button);
    };
    guideButton("Button1", "使い方の説明  user guide", ReadmeGuide);
    guideButton("Button2", "タイトルの作り方  making titles", TitlesGuide);
    return tsOpe;
}

QWidget* TFormHelp::CreateAboutPage(const QString& version)
{
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
    mmAbout->setPlainText(QString("\n\n") + ApplicationTitle + "\n\nバージョン： " + shown + "\n\n" + QString(37, '-') +
                          "\n\nEnglish learning, one card at a time.");
    QTextOption centred = mmAbout->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    mmAbout->document()->setDefaultTextOption(centred);
    aboutLayout->addWidget(mmAbout, 1);
    return tsAbout;
}

void TFormHelp::Open()
{
    show();
    raise();
    activateWindow();
}

QString TFormHelp::AboutText() const
{
    return mmAbout->toPlainText();
}

}  // namespace olve
