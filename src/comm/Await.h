#pragma once
// Waiting without nesting. Every command that waits on a line (a frame to drain, a reply,
// a pause, a box the user must close) is a coroutine: at each wait it suspends and hands
// the thread back to the one event loop, and it carries on, step by step, when what it
// waits for has happened. `Task<T>` is what such a coroutine returns; a caller that is a
// coroutine itself `co_await`s it for the result, a click handler just starts it.
//
// A waiter is resumed from the event loop, never from inside the signal that ended its
// wait, so the code after a wait runs with nothing of the emitter's on the stack. When the
// object a wait is bound to goes away first (a window closed, the application ending),
// the waiter is never resumed: nothing runs against what is gone.

#include <qcoro/qcorotask.h>

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <coroutine>
#include <memory>

template <typename T = void> using Task = QCoro::Task<T>;

namespace Await {

// Resumes `waiter` from the event loop, unless `context` is destroyed before then.
inline void resumeLater(QObject* context, std::coroutine_handle<> waiter)
{
    QMetaObject::invokeMethod(
        context, [waiter] { waiter.resume(); }, Qt::QueuedConnection);
}

// co_await Await::nextSignal(dialog, &QDialog::finished): suspends until the sender emits
// the signal once (its arguments are dropped). A sender destroyed first resumes nothing.
template <typename Sender, typename Signal> class NextSignal
{
public:
    NextSignal(Sender* sender, Signal signal) : sender_(sender), signal_(signal) {}

    bool await_ready() const noexcept { return sender_.isNull(); }
    void await_suspend(std::coroutine_handle<> waiter)
    {
        Sender* sender = sender_.data();
        // The connection undoes itself when it fires; the awaiter may be a copy by then.
        auto link = std::make_shared<QMetaObject::Connection>();
        *link = QObject::connect(sender, signal_, sender, [link, sender, waiter] {
            QObject::disconnect(*link);
            resumeLater(sender, waiter);
        });
    }
    void await_resume() const noexcept {}

private:
    QPointer<Sender> sender_;
    Signal signal_;
};

template <typename Sender, typename Signal>
NextSignal<Sender, Signal> nextSignal(Sender* sender, Signal signal)
{
    return NextSignal<Sender, Signal>(sender, signal);
}

// Starts a coroutine from code that is not one (a click handler): it runs to its first
// wait now and on from the event loop; what it returns is not needed.
template <typename T> void start(Task<T>&& task)
{
    Task<T> running = std::move(task);
    (void)running;
}

} // namespace Await
