#pragma once
// A probe's own cancel token. Whoever may end a probe early (the finder's Work Without, a
// command line's Ctrl+C) holds one and passes it to the probe; the progress window's Cancel
// reaches it too. The probe listens for the announcement only while the token is not
// cancelled, and says through running() that it runs. The holder and Cancel cancel; the
// probe alone marks its running.

#include <QObject>

class ProbeCancel : public QObject
{
    Q_OBJECT
public:
    // Ends the probe's listening as cancelled: the running probe's, or the next one's when
    // none runs yet. A scan starts uncancelled, and a cancel ends one port's probe, not the
    // ports the scan tries after it (see rearm).
    void cancel()
    {
        if (cancelled_)
            return;
        cancelled_ = true;
        emit cancelRequested();
    }
    bool cancelled() const { return cancelled_; }
    // Uncancelled again: what a scan does as it starts and after a cancelled probe.
    void rearm() { cancelled_ = false; }

    // True while a probe runs under this token.
    bool running() const { return running_; }

signals:
    void cancelRequested();

private:
    friend class ProbeRunning;
    bool cancelled_ = false;
    bool running_ = false;
};

// Marks a probe running on its token for a scope.
class ProbeRunning
{
public:
    explicit ProbeRunning(ProbeCancel& token) : token_(token) { token_.running_ = true; }
    ~ProbeRunning() { token_.running_ = false; }
    ProbeRunning(const ProbeRunning&) = delete;
    ProbeRunning& operator=(const ProbeRunning&) = delete;

private:
    ProbeCancel& token_;
};
