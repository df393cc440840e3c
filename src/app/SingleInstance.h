#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace kartovex {

// One Kartovex per user. The first to start serves a local socket under a name of the
// user's own; a later one finds it there, asks it to come to the front and ends, so that
// two never share the link file or fight over its port.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name = defaultName());

    // True when no other one answers: this one then serves from now on. False when another
    // answered and was asked to come to the front.
    bool claim();

    // In the user's runtime folder, which only the user can enter; on Windows a pipe open
    // to the user alone.
    static QString defaultName();

signals:
    void frontRequested();

private:
    QString name_;
    QLocalServer server_;
};

}  // namespace kartovex
