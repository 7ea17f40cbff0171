#include "app/mpris_service.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>

#include "app/main_window.h"
#include "app/mpris_adaptors.h"
#include "title/track_metadata.h"

namespace olve {

namespace {

// The window tells nobody when its card or state changes; a light look five times a second
// sees every way they change (keys, buttons, a card's end, a practice step) in one place.
constexpr int WatchMs = 200;

}  // namespace

TMprisService::TMprisService(TForm1& form) : QObject(&form), FForm(form), FBus(QString())
{
    new TMprisRootAdaptor(this);
    new TMprisPlayerAdaptor(this);
    FWatch.setInterval(WatchMs);
    connect(&FWatch, &QTimer::timeout, this, &TMprisService::SignalChanges);
}

QString TMprisService::Register(QDBusConnection bus)
{
    if (!bus.isConnected())
        return "セッションバスに接続できません (no session D-Bus: " + bus.lastError().message() + ")";
    if (!bus.interface() || !bus.registerObject(ObjectPath, this, QDBusConnection::ExportAdaptors))
        return QString("D-Bus に %1 を登録できません (cannot register %1)").arg(ObjectPath);
    if (!bus.registerService(BusName)) {
        const QString reason = bus.lastError().message();
        bus.unregisterObject(ObjectPath);
        return QString("D-Bus の名前 %1 を取得できません (cannot own %1: %2)").arg(BusName, reason);
    }
    FBus = bus;
    FLastState = PlayerState();
    FWatch.start();
    return QString();
}

TLessonPlayer& TMprisService::Lesson() const
{
    return FForm.Lesson();
}

QString TMprisService::PlaybackStatus() const
{
    switch (Lesson().Player().Mode()) {
    case mpPlaying:
        return "Playing";
    case mpPaused:
        return "Paused";
    default:
        return "Stopped";
    }
}

qlonglong TMprisService::Position() const
{
    TOlveMediaPlayer& player = Lesson().Player();
    return player.DeviceID() != 0 ? qlonglong(player.Position()) * 1000 : 0;
}

QVariantMap TMprisService::Metadata() const
{
    TOlveMediaPlayer& player = Lesson().Player();
    const int length = player.DeviceID() != 0 ? player.Length() : 0;
    const TTrackMetadata track =
        TrackMetadata(FForm.Package().MainCards, Lesson().CurrentCard(), length, FForm.TitleName().toStdString());
    QVariantMap map;
    map["mpris:trackid"] = QVariant::fromValue(QDBusObjectPath(QString::fromStdString(track.TrackId)));
    map["mpris:length"] = qlonglong(track.LengthMicroseconds);
    map["xesam:title"] = QString::fromStdString(track.Title);
    map["xesam:album"] = QString::fromStdString(track.Album);
    return map;
}

QVariantMap TMprisService::PlayerState() const
{
    const bool control = Lesson().CanPlay();
    return {
        {"PlaybackStatus", PlaybackStatus()},
        {"Metadata", Metadata()},
        {"Rate", Lesson().Player().Speed()},
        {"CanGoNext", control},
        {"CanGoPrevious", control},
        {"CanPlay", control},
        {"CanPause", control},
        {"CanControl", control},
    };
}

void TMprisService::SignalChanges()
{
    const QVariantMap state = PlayerState();
    QVariantMap changed;
    for (auto it = state.begin(); it != state.end(); ++it)
        if (FLastState.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    FLastState = state;
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(ObjectPath, "org.freedesktop.DBus.Properties", "PropertiesChanged");
    signal << QString(PlayerInterface) << changed << QStringList();
    FBus.send(signal);
}

}  // namespace olve
