// Showing a card's picture: loading a 3000 × 2000 JPEG and fitting it into a 512 × 512 pane
// (goal: under 60 ms), with its two parts, decoding and fitting, on their own.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <string>

#include "picture/extra_image.h"
#include "picture/jpeg_decoder.h"

namespace {

// A photo-like picture: smooth shading with fine grain, so it compresses like a photograph.
QImage Photo(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = static_cast<int>(seed >> 28) - 8;
            row[x] = qRgb(qBound(0, 40 + 180 * x / width + grain, 255), qBound(0, 60 + 150 * y / height + grain, 255),
                          qBound(0, 200 - 120 * x / width + grain, 255));
        }
    }
    QPainter painter(&image);
    painter.setBrush(QColor(240, 200, 40));
    painter.drawEllipse(QPoint(width * 3 / 4, height / 4), height / 6, height / 6);
    return image;
}

class TPhotoFile {
public:
    TPhotoFile()
    {
        Path = FFolder.filePath("photo.jpg");
        Photo(3000, 2000).save(Path, "JPG", 90);
    }
    QString Path;

private:
    QTemporaryDir FFolder;
};

const QString& PhotoPath()
{
    static TPhotoFile file;
    return file.Path;
}

class TPane {
public:
    TPane()
    {
        FWindow.resize(512, 512);
        Pane = new olve::TExtraImage(&FWindow);
        Pane->setGeometry(0, 0, 512, 512);
        Pane->SetColor(Qt::black);
        FWindow.show();
        QApplication::processEvents();
    }
    olve::TExtraImage* Pane;

private:
    QWidget FWindow;
};

void LoadAndFit3000x2000Jpeg(benchmark::State& state)
{
    TPane pane;
    const QString path = PhotoPath();
    for (auto _ : state) {
        if (!pane.Pane->LoadFromFile(path))
            state.SkipWithError("the picture did not load");
    }
    state.SetLabel("goal < 60 ms");
}
BENCHMARK(LoadAndFit3000x2000Jpeg)->Unit(benchmark::kMillisecond);

void Decode3000x2000Jpeg(benchmark::State& state)
{
    const std::string path = QDir::toNativeSeparators(PhotoPath()).toStdString();
    QImage image;
    std::string error;
    for (auto _ : state) {
        if (!olve::DecodeJpegFile(path, image, error))
            state.SkipWithError("the picture did not decode");
    }
}
BENCHMARK(Decode3000x2000Jpeg)->Unit(benchmark::kMillisecond);

void Fit3000x2000IntoPane(benchmark::State& state)
{
    TPane pane;
    pane.Pane->LoadFromFile(PhotoPath());
    for (auto _ : state)
        pane.Pane->Redraw();
}
BENCHMARK(Fit3000x2000IntoPane)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
