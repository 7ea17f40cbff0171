#include "app/mpris_adaptors.h"

#include <algorithm>
#include <limits>
#include <QTimer>
#include <QUrl>

#include "app/main_window.h"
#include "lesson/opening_queue.h"
#include "app/mpris_service.h"
#include "app/startup_check.h"
#include "app/file_type_registration.h"
#include "media/wave_volume.h"
#include "title/file_type.h"
#include "timing/playback_speed.h"

namespace olve {

namespace {

constexpr const char* PackageExtension = ".qzw";

}  // namespace

TMprisRootAdaptor::TMprisRootAdaptor(TMprisService* service) : QDBusAbstractAdaptor(service), FService(*service) {}

QString TMprisRootAdaptor::Identity() const
{
    return ApplicationTitle;
}

// The entry the program writes when it registers its packages' file type.
QString TMprisRootAdaptor::DesktopEntry() const
{
    return QString::fromStdString("olve-" + FileTypeIdOf(PackageExtension));
}

QStringList TMprisRootAdaptor::SupportedMimeTypes() const
{
    return {QString::fromStdString(MimeTypeOfExtension(PackageExtension))};
}

void TMprisRootAdaptor::Raise()
{
    TForm1& form = FService.Form();
    form.showNormal();
    form.raise();
    form.activateWindow();
}

void TMprisRootAdaptor::Quit()
{
    // After the reply has gone out: closing the window ends the event loop.
    QTimer::singleShot(0, &FService.Form(), [form = &FService.Form()] { form->Terminate(); });
}

TMprisPlayerAdaptor::TMprisPlayerAdaptor(TMprisService* service) : QDBusAbstractAdaptor(service), FService(*service) {}

QString TMprisPlayerAdaptor::PlaybackStatus() const
{
    return FService.PlaybackStatus();
}

double TMprisPlayerAdaptor::Rate() const
{
    return FService.Lesson().Player().Speed();
}

double TMprisPlayerAdaptor::MinimumRate() const
{
    return SpeedFactor(SlowestSpeedTenths);
}

double TMprisPlayerAdaptor::MaximumRate() const
{
    return SpeedFactor(FastestSpeedTenths);
}

QVariantMap TMprisPlayerAdaptor::Metadata() const
{
    return FService.Metadata();
}

double TMprisPlayerAdaptor::Volume() const
{
    return GetWaveVolume(FService.Lesson().Player()) / 65535.0;
}

qlonglong TMprisPlayerAdaptor::Position() const
{
    return FService.Position();
}

bool TMprisPlayerAdaptor::CanControl() const
{
    return FService.Lesson().CanPlay();
}

void TMprisPlayerAdaptor::Next()
{
    FService.Lesson().Next();
}

void TMprisPlayerAdaptor::Previous()
{
    FService.Lesson().Back();
}

void TMprisPlayerAdaptor::Pause()
{
    if (PlaybackStatus() == "Playing")
        FService.Lesson().Pause();
}

void TMprisPlayerAdaptor::PlayPause()
{
    if (PlaybackStatus() == "Playing")
        FService.Lesson().Pause();
    else
        FService.Lesson().Here();
}

void TMprisPlayerAdaptor::Stop()
{
    FService.Lesson().Stop();
}

void TMprisPlayerAdaptor::Play()
{
    if (PlaybackStatus() != "Playing")
        FService.Lesson().Here();
}

void TMprisPlayerAdaptor::Seek(qlonglong offset)
{
    // Any offset a caller sends, however far, lands inside the recording.
    qlonglong target = 0;
    if (__builtin_add_overflow(FService.Position(), offset, &target))
        target = offset > 0 ? std::numeric_limits<qlonglong>::max() : 0;
    MoveTo(target);
}

// Positions are the recording's, which every card shares: a track id that was current a
// moment ago (the play runs on through the cards) is as good as the one current now.
void TMprisPlayerAdaptor::SetPosition(const QDBusObjectPath&, qlonglong position)
{
    MoveTo(position);
}

void TMprisPlayerAdaptor::MoveTo(qlonglong microseconds)
{
    TLessonPlayer& lesson = FService.Lesson();
    if (!lesson.CanPlay())
        return;
    lesson.SeekTo(std::max<qlonglong>(microseconds, 0) / 1000);
    Q_EMIT Seeked(FService.Position());
}

void TMprisPlayerAdaptor::OpenUri(const QString& uri)
{
    const QUrl url(uri);
    if (!url.isLocalFile())
        return;
    // Once the call has been answered (opening may ask the user), and only the latest of
    // calls that come faster than titles open.
    FService.Form().Openings().Request(url.toLocalFile());
}

}  // namespace olve
