#include "app/mpris_adaptors.h"

#include <QAction>
#include <QTimer>
#include <QUrl>

#include "app/main_window.h"
#include "app/mpris_service.h"
#include "app/startup_check.h"
#include "app/file_type_registration.h"
#include "media/wave_volume.h"
#include "storage/file_type.h"
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
    return FService.Form().Player().Speed();
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
    return GetWaveVolume(FService.Form().Player()) / 65535.0;
}

qlonglong TMprisPlayerAdaptor::Position() const
{
    return FService.Position();
}

bool TMprisPlayerAdaptor::CanControl() const
{
    return FService.Form().CanPlay();
}

void TMprisPlayerAdaptor::Trigger(const char* name)
{
    QAction* action = FService.Form().Action(name);
    if (action && action->isEnabled())
        action->trigger();
}

void TMprisPlayerAdaptor::Next()
{
    Trigger("acNext");
}

void TMprisPlayerAdaptor::Previous()
{
    Trigger("acBack");
}

void TMprisPlayerAdaptor::Pause()
{
    if (PlaybackStatus() == "Playing")
        Trigger("acPause");
}

void TMprisPlayerAdaptor::PlayPause()
{
    Trigger(PlaybackStatus() == "Playing" ? "acPause" : "acPlay");
}

void TMprisPlayerAdaptor::Stop()
{
    Trigger("acStop");
}

void TMprisPlayerAdaptor::Play()
{
    if (PlaybackStatus() != "Playing")
        Trigger("acPlay");
}

void TMprisPlayerAdaptor::Seek(qlonglong) {}

void TMprisPlayerAdaptor::SetPosition(const QDBusObjectPath&, qlonglong) {}

void TMprisPlayerAdaptor::OpenUri(const QString& uri)
{
    const QUrl url(uri);
    if (!url.isLocalFile())
        return;
    // Once the call has been answered (opening may ask the user), and only the latest of
    // calls that come faster than titles open.
    FService.Form().RequestOpen(url.toLocalFile());
}

}  // namespace olve
