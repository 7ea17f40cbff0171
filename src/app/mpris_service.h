#pragma once
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>

namespace olve {

class TForm1;
class TLessonPlayer;

// The player as desktop panels and media keys see it: the media-player interfaces on the
// session bus, answering for the window and telling the bus what changed.
class TMprisService : public QObject {
    Q_OBJECT
public:
    static constexpr const char* BusName = "org.mpris.MediaPlayer2.olveplayer";
    static constexpr const char* ObjectPath = "/org/mpris/MediaPlayer2";
    static constexpr const char* PlayerInterface = "org.mpris.MediaPlayer2.Player";

    explicit TMprisService(TForm1& form);

    // Puts the player on the bus. The reason, for the user, when it could not; else empty.
    QString Register(QDBusConnection bus);

    TForm1& Form() const { return FForm; }
    TLessonPlayer& Lesson() const;
    // The player interface's properties that change by themselves: all but Position.
    QVariantMap PlayerState() const;
    QVariantMap Metadata() const;
    QString PlaybackStatus() const;
    qlonglong Position() const;

private:
    void SignalChanges();

    TForm1& FForm;
    QDBusConnection FBus;
    QVariantMap FLastState;
    QTimer FWatch;
};

}  // namespace olve
