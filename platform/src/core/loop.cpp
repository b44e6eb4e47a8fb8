// Posted messages, timers, the outermost loop with its idle pump, modal
// loops, and the way an exception from a handler leaves every loop.
#include "core/core_p.h"
#include "core/widgets_p.h"
#include "ipc/ipc_p.h"
#include "plat/clock.h"
#include "plat/loop.h"
#include "plat/modal.h"
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>

namespace plat {

namespace core {

int g_entryDepth = 0;

namespace {

struct Posted {
    MSG msg;
    uint64_t gen = 0; // 0: no window
};

struct ModalFrame {
    bool* done = nullptr;
    QEventLoop* loop = nullptr;
};

std::deque<Posted> g_posts;
bool g_deliveryPending = false;
bool g_quitPending = false;
int g_quitCode = 0;

std::exception_ptr g_exception;

bool g_loopRunning = false;
std::vector<ModalFrame*> g_modal;

std::function<BOOL(LONG)> g_idle;
QTimer* g_idleTimer = nullptr;
LONG g_idleCount = 0;
bool g_inIdle = false;

std::map<std::pair<HWND, UINT_PTR>, TimerRec> g_timers;
UINT_PTR g_nextThreadTimer = 1;

PostedFilter g_postedFilter = nullptr;

const QEvent::Type kDeliver = static_cast<QEvent::Type>(QEvent::User + 0x3A1);

class Dispatcher : public QObject {
public:
    bool event(QEvent* e) override;
};

Dispatcher* dispatcher()
{
    static Dispatcher* d = new Dispatcher();
    return d;
}

void request_delivery()
{
    if (g_deliveryPending)
        return;
    g_deliveryPending = true;
    QCoreApplication::postEvent(dispatcher(), new QEvent(kDeliver));
}

bool any_loop() { return g_loopRunning || !g_modal.empty(); }

void quit_loops()
{
    for (ModalFrame* f : g_modal)
        if (f->loop)
            f->loop->exit(0);
    if (g_loopRunning)
        QCoreApplication::exit(g_quitCode);
}

// WM_QUIT is a flag, seen once nothing else is queued, as classic queues do.
void check_quit()
{
    if (g_quitPending && g_posts.empty() && any_loop())
        quit_loops();
}

bool Dispatcher::event(QEvent* e)
{
    if (e->type() != kDeliver)
        return QObject::event(e);
    g_deliveryPending = false;
    if (g_posts.empty()) {
        check_quit();
        return true;
    }
    Posted p = g_posts.front();
    g_posts.pop_front();
    if (!g_posts.empty() || g_quitPending)
        request_delivery();
    QtEntry([&] {
        WindowRec* r = Find(p.msg.hwnd);
        if (p.msg.hwnd && (!r || r->gen != p.gen))
            return;
        if (g_postedFilter && g_postedFilter(p.msg))
            return;
        DispatchMessage(&p.msg);
    });
    check_quit();
    return true;
}

void arm_idle(bool reset)
{
    if (reset)
        g_idleCount = 0;
    if (g_loopRunning && g_idle && g_idleTimer && !g_idleTimer->isActive())
        g_idleTimer->start();
}

void idle_pass()
{
    // Idle time belongs to the outermost loop alone: not inside an idle call,
    // a modal loop, or a handler that pumps events itself.
    if (g_inIdle || g_entryDepth > 0 || ModalDepth() > 0 || !g_modal.empty() || !g_idle) {
        g_idleTimer->stop();
        return;
    }
    QtEntry(
        [] {
            ProcessPaints();
            g_inIdle = true;
            BOOL more = FALSE;
            try {
                more = g_idle(g_idleCount);
            } catch (...) {
                g_inIdle = false;
                throw;
            }
            g_inIdle = false;
            FlushSurfaces();
            // A box or dialog opened inside the call stopped the pump on its
            // way; the answer decides.
            if (more) {
                ++g_idleCount;
                if (!g_idleTimer->isActive())
                    g_idleTimer->start();
            } else {
                g_idleTimer->stop();
            }
        },
        false);
    if (ExceptionPending())
        g_idleTimer->stop();
}

void fire_timer(HWND hwnd, UINT_PTR id)
{
    QtEntry([&] {
        auto it = g_timers.find({hwnd, id});
        if (it == g_timers.end())
            return;
        if (hwnd) {
            WindowRec* r = Find(hwnd);
            if (!r || r->gen != it->second.gen) {
                KillTimer(hwnd, id);
                return;
            }
        }
        MSG m;
        m.hwnd = hwnd;
        m.message = WM_TIMER;
        m.wParam = id;
        m.lParam = reinterpret_cast<LPARAM>(it->second.proc);
        m.time = GetTickCount();
        DispatchMessage(&m);
    });
}

void maybe_screenshot()
{
    static bool armed = false;
    const char* file = std::getenv("PLAT_SCREENSHOT");
    if (armed || !file || !*file)
        return;
    armed = true;
    int delay = 3000;
    if (const char* d = std::getenv("PLAT_SCREENSHOT_DELAY_MS"))
        delay = std::atoi(d);
    const std::string path = file;
    QTimer::singleShot(std::max(0, delay), dispatcher(), [path] {
        FlushSurfaces();
        // The whole screen, so that an open dialog shows with its owner.
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QPixmap shot = screen->grabWindow(0);
            if (!shot.isNull() && shot.save(QString::fromLocal8Bit(path.c_str()), "PNG")) {
                std::printf("screenshot written to %s\n", path.c_str());
                std::fflush(stdout);
                return;
            }
        }
        // A platform without a screen to read: the main window alone.
        for (HWND h : AllWindows()) {
            WindowRec* r = Find(h);
            if (!r || (r->style & WS_CHILD) || !r->frame || !r->frame->isVisible())
                continue;
            FlushSurfaces();
            if (r->frame->grab().save(QString::fromLocal8Bit(path.c_str()), "PNG")) {
                std::printf("screenshot written to %s\n", path.c_str());
                std::fflush(stdout);
            }
            return;
        }
    });
}

} // namespace

void StoreException(std::exception_ptr e)
{
    if (!g_exception)
        g_exception = e;
    quit_loops();
}

bool ExceptionPending() { return g_exception != nullptr; }

void RethrowPending()
{
    if (!g_exception)
        return;
    std::exception_ptr e = g_exception;
    g_exception = nullptr;
    std::rethrow_exception(e);
}

void AfterDispatch(bool dispatch)
{
    if (g_exception)
        return;
    for (ModalFrame* f : g_modal)
        if (*f->done && f->loop)
            f->loop->exit(0);
    if (dispatch)
        arm_idle(true);
}

void SetPostedFilter(PostedFilter filter) { g_postedFilter = filter; }

void DropPosts(HWND hwnd)
{
    std::erase_if(g_posts, [hwnd](const Posted& p) { return p.msg.hwnd == hwnd; });
}

void KillTimers(HWND hwnd)
{
    for (auto it = g_timers.begin(); it != g_timers.end();) {
        if (it->first.first == hwnd) {
            // The window may die inside this very timer's handler.
            it->second.timer->stop();
            it->second.timer->deleteLater();
            it = g_timers.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace core

using namespace core;

// ---- posted messages -------------------------------------------------------

BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    EnsureCoreInit();
    if (const ipc::RemoteOps* remote = ipc::RemoteFor(hwnd))
        return remote->post(hwnd, msg, wParam, lParam);
    Posted p;
    if (hwnd) {
        WindowRec* r = Find(hwnd);
        if (!r)
            return FALSE;
        p.gen = r->gen;
    }
    if (msg == WM_QUIT && hwnd == 0) {
        PostQuitMessage(static_cast<int>(wParam));
        return TRUE;
    }
    p.msg.hwnd = hwnd;
    p.msg.message = msg;
    p.msg.wParam = wParam;
    p.msg.lParam = lParam;
    p.msg.time = GetTickCount();
    GetCursorPos(&p.msg.pt);
    g_posts.push_back(p);
    request_delivery();
    return TRUE;
}

void PostQuitMessage(int exitCode)
{
    EnsureCoreInit();
    g_quitPending = true;
    g_quitCode = exitCode;
    request_delivery();
}

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT first, UINT last, UINT remove)
{
    EnsureCoreInit();
    auto matches = [&](const Posted& p) {
        if (hwnd && p.msg.hwnd != hwnd && !IsChild(hwnd, p.msg.hwnd))
            return false;
        if (first == 0 && last == 0)
            return true;
        return p.msg.message >= first && p.msg.message <= last;
    };
    // Stale entries (their window died) are dropped on the way.
    auto scan = [&]() -> bool {
        for (;;) {
            bool stale = false;
            for (auto it = g_posts.begin(); it != g_posts.end(); ++it) {
                if (!matches(*it))
                    continue;
                if (it->msg.hwnd) {
                    WindowRec* r = Find(it->msg.hwnd);
                    if (!r || r->gen != it->gen) {
                        g_posts.erase(it);
                        stale = true;
                        break;
                    }
                }
                if (msg)
                    *msg = it->msg;
                if (remove & PM_REMOVE)
                    g_posts.erase(it);
                return true;
            }
            if (!stale)
                break;
        }
        if (g_quitPending && g_posts.empty() && (first == 0 || (WM_QUIT >= first && WM_QUIT <= last))) {
            if (msg) {
                *msg = MSG{};
                msg->message = WM_QUIT;
                msg->wParam = static_cast<WPARAM>(g_quitCode);
            }
            if (remove & PM_REMOVE)
                g_quitPending = false;
            return true;
        }
        return false;
    };
    if (scan())
        return TRUE;
    // Input, timers and paints are handled as they come; posts they make
    // become visible here.
    if (!(remove & PM_NOYIELD)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        RethrowPending();
        ProcessPaints();
    }
    return scan() ? TRUE : FALSE;
}

BOOL GetMessage(MSG* msg, HWND hwnd, UINT first, UINT last)
{
    EnsureCoreInit();
    MSG m;
    for (;;) {
        if (PeekMessage(&m, hwnd, first, last, PM_REMOVE | PM_NOYIELD))
            break;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        RethrowPending();
        ProcessPaints();
    }
    if (msg)
        *msg = m;
    return m.message == WM_QUIT ? FALSE : TRUE;
}

LRESULT DispatchMessage(const MSG* msg)
{
    if (!msg)
        return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        proc(msg->hwnd, WM_TIMER, msg->wParam, static_cast<DWORD>(msg->time));
        return 0;
    }
    if (msg->message == WM_PAINT) {
        PaintWindow(msg->hwnd);
        return 0;
    }
    if (!msg->hwnd)
        return 0;
    return SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL TranslateMessage(const MSG*)
{
    // Characters come with the key events already.
    return FALSE;
}

// ---- timers --------------------------------------------------------------------

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc)
{
    EnsureCoreInit();
    uint64_t gen = 0;
    if (hwnd) {
        WindowRec* r = Find(hwnd);
        if (!r)
            return 0;
        gen = r->gen;
    } else {
        if (!proc)
            return 0;
        id = g_nextThreadTimer++;
    }
    const int interval = static_cast<int>(std::min<UINT>(std::max(elapseMs, USER_TIMER_MINIMUM), 0x7FFFFFFF));
    auto key = std::make_pair(hwnd, id);
    auto it = g_timers.find(key);
    if (it == g_timers.end()) {
        TimerRec t;
        t.hwnd = hwnd;
        t.gen = gen;
        t.id = id;
        t.timer = new QTimer();
        t.timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(t.timer, &QTimer::timeout, [hwnd, id] { fire_timer(hwnd, id); });
        it = g_timers.emplace(key, t).first;
    }
    it->second.proc = proc;
    it->second.gen = gen;
    // Setting it again restarts the interval.
    it->second.timer->start(interval);
    return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    auto it = g_timers.find({hwnd, id});
    if (it == g_timers.end())
        return FALSE;
    // The timer may be firing right now; Qt deletes it once it returns.
    it->second.timer->stop();
    it->second.timer->deleteLater();
    g_timers.erase(it);
    return TRUE;
}

// ---- loops -----------------------------------------------------------------------

void SetIdleHandler(std::function<BOOL(LONG count)> handler)
{
    g_idle = std::move(handler);
    arm_idle(true);
}

BOOL IsMessageLoopRunning() { return g_loopRunning ? TRUE : FALSE; }

int RunMessageLoop()
{
    EnsureCoreInit();
    if (g_loopRunning)
        return -1;
    RethrowPending();
    if (g_quitPending) {
        g_quitPending = false;
        return g_quitCode;
    }
    if (!g_idleTimer) {
        g_idleTimer = new QTimer();
        g_idleTimer->setInterval(0);
        QObject::connect(g_idleTimer, &QTimer::timeout, [] { idle_pass(); });
    }
    g_loopRunning = true;
    arm_idle(true);
    maybe_screenshot();
    request_delivery();
    // Once the loop has run what was queued before it, a linked program is
    // ready for its starter.
    QTimer::singleShot(0, dispatcher(), [] { ipc::RunLoopStartHook(); });
    const int code = QApplication::exec();
    g_loopRunning = false;
    g_idleTimer->stop();
    RethrowPending();
    g_quitPending = false;
    return code == 0 ? g_quitCode : code;
}

BOOL RunModalLoop(bool& done)
{
    EnsureCoreInit();
    RethrowPending();
    ModalScope scope;
    QEventLoop loop;
    ModalFrame frame{&done, &loop};
    g_modal.push_back(&frame);
    // A flag set outside any dispatch (by a Qt signal, say) is noticed too.
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done)
            loop.exit(0);
    });
    poll.start();
    while (!done && !g_quitPending && !g_exception) {
        loop.exec();
    }
    poll.stop();
    std::erase(g_modal, &frame);
    const bool quit = g_quitPending && !done;
    if (quit)
        request_delivery(); // the outer loops see the quit too
    arm_idle(false);
    RethrowPending();
    return quit ? FALSE : TRUE;
}

} // namespace plat
