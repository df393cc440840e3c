#pragma once

#include <QString>
#include <QThread>
#include <future>

#include "capture/link/ViewExchange.h"

namespace kartovex {

// Serves the network link over HTTP on 127.0.0.1, on a thread of its own with its own
// event loop: Step 1 blocks the window's thread while it waits for the view to settle,
// and the reports that end the wait must still come in. Every request goes to the
// exchange; the thread ends when the server is destroyed.
class LinkServer : public QThread {
public:
    explicit LinkServer(ViewExchange& exchange);
    ~LinkServer() override;

    // Starts listening on `port` (0: any free port). Returns the port listened on, or 0
    // with the reason in `error`.
    quint16 listen(quint16 port, QString& error);

protected:
    void run() override;

private:
    ViewExchange& exchange_;
    quint16 requested_ = 0;
    std::promise<std::pair<quint16, QString>> listening_;
};

}  // namespace kartovex
