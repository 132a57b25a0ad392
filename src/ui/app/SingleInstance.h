#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

namespace qv::ui {

// One program per user: a lock file named after "QuorvaneV9Mutex" in the user's runtime directory says that a
// program runs, and a local socket beside it is how a second start asks that program to show its window.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Start {
        First,       // this is the program: the socket listens
        HandedOver,  // another program runs and was asked to show itself
        Unreachable, // another program holds the lock but did not answer
        NoLock       // the lock cannot be made there (no such directory, no right to write in it)
    };

    // `directory`: where the lock and the socket live (the user's runtime directory).
    explicit SingleInstance(const QString& directory);

    Start Claim();

    static QString DefaultDirectory();

signals:
    // A second start asked this program to show its window.
    void activationRequested();

private:
    void Answer();

    QString lockPath_;
    QString socketPath_;
    QLockFile lock_;
    QLocalServer server_;
};

} // namespace qv::ui
