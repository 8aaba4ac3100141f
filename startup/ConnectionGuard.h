#pragma once

// When a display is named but cannot be reached (a stale DISPLAY, X forwarding over SSH that
// fails), Qt warns for each platform it tries and then aborts, advising to reinstall. While a
// guard lives (around the construction of QApplication) Qt's messages are held back; if Qt
// then gives up for want of a connection, the program says so in one line and exits with
// status 1. Any other failure, and a start that succeeds, get Qt's messages as they were.
class ConnectionGuard
{
public:
    ConnectionGuard();
    ~ConnectionGuard();
    ConnectionGuard(const ConnectionGuard &) = delete;
    ConnectionGuard &operator=(const ConnectionGuard &) = delete;
};
