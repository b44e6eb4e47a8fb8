// The cross-process window link over local (unix) sockets: a group folder,
// a tag per program held by a lock file, one listening socket per program,
// one outgoing connection per peer. Requests go out on the outgoing
// connection and are answered on it; a program serves its peers' requests
// on the connections it accepted. Writes are complete when the call
// returns, so what was posted is in the peer's queue before the program
// can end.
#include "core/core_p.h"
#include "ipc/ipc_p.h"
#include "plat/clock.h"
#include "plat/controls.h"
#include "plat/link.h"
#include "plat/menu.h"
#include "plat/modal.h"
#include "plat/module.h"
#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <memory>
#include <poll.h>
#include <set>
#include <strings.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace plat {

namespace {

// A socket's notifier is a child of the application, so Qt deletes it with the
// application when the link is left at exit after Qt is gone; left while Qt is
// still there, the link stops it and has it deleted once its signal is done.
QPointer<QSocketNotifier> make_notifier(int fd)
{
    return new QSocketNotifier(fd, QSocketNotifier::Read, QCoreApplication::instance());
}

void drop_notifier(QPointer<QSocketNotifier>& n)
{
    if (n) {
        n->setEnabled(false);
        n->deleteLater();
    }
    n.clear();
}

struct Conn {
    int fd = -1;
    bool outgoing = false;
    WORD tag = 0;      // the peer's (outgoing: the one connected to)
    bool dead = false;
    LinkFrameDecoder dec;
    std::map<uint32_t, std::string> replies;
    QPointer<QSocketNotifier> notifier;
};

struct Link {
    bool joined = false;
    std::string dir;
    WORD tag = 0;
    int lockFd = -1;
    int listenFd = -1;
    QPointer<QSocketNotifier> listenNotifier;
    std::vector<std::unique_ptr<Conn>> conns;
    uint32_t nextSeq = 1;
    std::set<int> readyPids;
    std::vector<std::string> linkedPrograms; // file names
    int parentTag = -1;
    bool readySent = false;
    int replyTimeoutMs = 0;
    int serving = 0; // depth of frame handling on the stack
};

Link& L()
{
    static Link l;
    return l;
}

std::string sock_path(WORD tag) { return L().dir + "/" + std::to_string(tag) + ".sock"; }
std::string lock_path(WORD tag) { return L().dir + "/" + std::to_string(tag) + ".lock"; }

std::string group_folder()
{
    if (const char* d = std::getenv("PLAT_LINK_DIR"); d && *d)
        return d;
    if (const char* d = std::getenv("XDG_RUNTIME_DIR"); d && *d)
        return std::string(d) + "/vorn-link";
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/vorn-link-" + std::to_string(::getuid());
}

bool write_all(int fd, const std::string& bytes)
{
    size_t at = 0;
    while (at < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + at, bytes.size() - at, MSG_NOSIGNAL);
        if (n > 0) {
            at += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{fd, POLLOUT, 0};
            if (::poll(&p, 1, 5000) <= 0)
                return false;
            continue;
        }
        return false;
    }
    return true;
}

void process_conn(Conn* c);

void on_readable(Conn* c);

void watch(Conn* c)
{
    c->notifier = make_notifier(c->fd);
    QObject::connect(c->notifier.data(), &QSocketNotifier::activated, [c] {
        core::QtEntry([c] { on_readable(c); });
    });
}

void mark_dead(Conn* c)
{
    if (c->dead)
        return;
    c->dead = true;
    if (c->notifier)
        c->notifier->setEnabled(false);
}

// Takes what the socket has without waiting.
void read_conn(Conn* c)
{
    if (c->dead)
        return;
    char buf[8192];
    for (;;) {
        const ssize_t n = ::recv(c->fd, buf, sizeof buf, MSG_DONTWAIT);
        if (n > 0) {
            c->dec.feed(buf, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        mark_dead(c); // end of stream or error: the peer is gone
        break;
    }
}

void accept_peers()
{
    Link& l = L();
    for (;;) {
        const int fd = ::accept4(l.listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            break;
        auto c = std::make_unique<Conn>();
        c->fd = fd;
        Conn* raw = c.get();
        l.conns.push_back(std::move(c));
        if (QCoreApplication::instance())
            watch(raw);
    }
}

bool write_frame(Conn* c, LinkFrameType type, uint32_t seq, std::string payload)
{
    if (c->dead)
        return false;
    if (!write_all(c->fd, EncodeLinkFrame(LinkFrame{type, seq, std::move(payload)}))) {
        mark_dead(c);
        return false;
    }
    return true;
}

void reply(Conn* c, uint32_t seq, std::string payload)
{
    write_frame(c, LinkFrameType::Reply, seq, std::move(payload));
}

HWND local_find(const std::string& title)
{
    for (HWND h : core::AllWindows()) {
        core::WindowRec* r = core::Find(h);
        if (!r || (r->style & WS_CHILD) || r->destroying)
            continue;
        if (strcasecmp(r->text.c_str(), title.c_str()) == 0)
            return h;
    }
    return 0;
}

LRESULT local_send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool hasText, const std::string& text,
                   std::string* out)
{
    if (!core::Find(hwnd))
        return 0;
    switch (LinkTextKindOf(msg)) {
    case LinkTextKind::Refused:
        std::fprintf(stderr, "link: message 0x%X with a pointer refused\n", msg);
        return 0;
    case LinkTextKind::In:
        return SendMessage(hwnd, msg, wp, reinterpret_cast<LPARAM>(hasText ? text.c_str() : ""));
    case LinkTextKind::Out: {
        size_t size = 0;
        if (msg == WM_GETTEXT) {
            size = std::min<WPARAM>(wp, LINK_FRAME_MAX / 2);
        } else {
            const LRESULT len = SendMessage(hwnd, msg == LB_GETTEXT ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, wp, 0);
            if (len < 0)
                return len;
            size = std::min<size_t>(static_cast<size_t>(len) + 1, LINK_FRAME_MAX / 2);
        }
        if (size == 0)
            return 0;
        std::string buf(size, '\0');
        const LRESULT r = SendMessage(hwnd, msg, wp, reinterpret_cast<LPARAM>(buf.data()));
        *out = std::string(buf.c_str());
        return r;
    }
    case LinkTextKind::None:
        break;
    }
    return SendMessage(hwnd, msg, wp, lp);
}

LRESULT local_winop(HWND hwnd, LinkWinOp op)
{
    if (!core::Find(hwnd))
        return 0;
    switch (op) {
    case LinkWinOp::Exists:
        return 1;
    case LinkWinOp::Show:
        ShowWindow(hwnd, SW_SHOW);
        return 1;
    case LinkWinOp::Hide:
        ShowWindow(hwnd, SW_HIDE);
        return 1;
    case LinkWinOp::Activate:
        return SetActiveWindow(hwnd) != 0 || GetActiveWindow() == hwnd ? 1 : 0;
    case LinkWinOp::Topmost:
        return SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    case LinkWinOp::NotTopmost:
        return SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return 0;
}

void handle(Conn* c, const LinkFrame& f)
{
    LinkPayloadReader r(f.payload);
    switch (f.type) {
    case LinkFrameType::Hello: {
        c->tag = r.u16();
        break;
    }
    case LinkFrameType::Ready: {
        r.u16();
        const auto pid = static_cast<int>(r.u32());
        if (r.done())
            L().readyPids.insert(pid);
        break;
    }
    case LinkFrameType::Bye:
        mark_dead(c);
        break;
    case LinkFrameType::Find: {
        const std::string title = r.text();
        reply(c, f.sequence, LinkPayloadWriter().u32(r.done() ? local_find(title) : 0).take());
        break;
    }
    case LinkFrameType::Send: {
        const HWND hwnd = r.u32();
        const UINT msg = r.u32();
        const auto wp = static_cast<WPARAM>(r.u64());
        const auto lp = static_cast<LPARAM>(r.u64());
        const bool hasText = r.u8() != 0;
        const std::string text = hasText ? r.text() : std::string();
        std::string out;
        const LRESULT result = r.done() ? local_send(hwnd, msg, wp, lp, hasText, text, &out) : 0;
        const bool outText = LinkTextKindOf(msg) == LinkTextKind::Out;
        LinkPayloadWriter w;
        w.u64(static_cast<uint64_t>(result)).u8(outText ? 1 : 0);
        if (outText)
            w.text(out);
        reply(c, f.sequence, w.take());
        break;
    }
    case LinkFrameType::Post: {
        const HWND hwnd = r.u32();
        const UINT msg = r.u32();
        const auto wp = static_cast<WPARAM>(r.u64());
        const auto lp = static_cast<LPARAM>(r.u64());
        if (!r.done())
            break;
        if (msg == WM_QUIT) {
            // A peer's quit ends this program's outermost loop.
            PostQuitMessage(static_cast<int>(wp));
        } else if (LinkTextKindOf(msg) == LinkTextKind::None && core::Find(hwnd)) {
            PostMessage(hwnd, msg, wp, lp);
        }
        break;
    }
    case LinkFrameType::Child: {
        const HWND hwnd = r.u32();
        const auto id = static_cast<int>(r.u32());
        reply(c, f.sequence, LinkPayloadWriter().u32(r.done() && core::Find(hwnd) ? GetDlgItem(hwnd, id) : 0).take());
        break;
    }
    case LinkFrameType::WinOp: {
        const HWND hwnd = r.u32();
        const uint8_t op = r.u8();
        const LRESULT result = r.done() && op <= LINK_WINOP_LAST ? local_winop(hwnd, static_cast<LinkWinOp>(op)) : 0;
        reply(c, f.sequence, LinkPayloadWriter().u32(static_cast<uint32_t>(result)).take());
        break;
    }
    case LinkFrameType::MenuPopup: {
        const HWND frame = r.u32();
        const auto index = static_cast<int>(r.u32());
        const auto x = static_cast<int>(r.u32());
        const auto y = static_cast<int>(r.u32());
        LinkPopupResult result = LinkPopupResult::NoMenu;
        if (r.done() && core::Find(frame))
            result = ShowMenuBarPopup(frame, index, x, y);
        reply(c, f.sequence, LinkPayloadWriter().u8(static_cast<uint8_t>(result)).take());
        break;
    }
    case LinkFrameType::Reply:
        c->replies[f.sequence] = f.payload;
        break;
    }
}

void process_conn(Conn* c)
{
    while (!c->dead || c->dec.buffered() > 0) {
        std::optional<LinkFrame> f = c->dec.next();
        if (!f) {
            if (c->dec.broken())
                mark_dead(c);
            return;
        }
        ++L().serving;
        handle(c, *f);
        --L().serving;
    }
}

void on_readable(Conn* c)
{
    read_conn(c);
    process_conn(c);
}

// Every frame already read, of every connection (the list may grow while a
// handler runs).
void process_all()
{
    Link& l = L();
    for (size_t i = 0; i < l.conns.size(); ++i)
        process_conn(l.conns[i].get());
}

// The private wait: reads and serves the link (sends, finds, children,
// window operations answered at once, posts queued for later) and nothing
// else, until done() holds, the time is up (ms < 0: no limit) or nothing
// can come any more.
template <class Done> bool serve_until(Done done, int ms)
{
    Link& l = L();
    ModalScope modal;
    const DWORD start = GetTickCount();
    for (;;) {
        process_all();
        if (done())
            return true;
        int slice = 100;
        if (ms >= 0) {
            const int left = ms - static_cast<int>(GetTickCount() - start);
            if (left <= 0)
                return false;
            slice = std::min(slice, left);
        }
        std::vector<pollfd> fds;
        std::vector<Conn*> who;
        if (l.listenFd >= 0) {
            fds.push_back({l.listenFd, POLLIN, 0});
            who.push_back(nullptr);
        }
        for (auto& c : l.conns)
            if (!c->dead) {
                fds.push_back({c->fd, POLLIN, 0});
                who.push_back(c.get());
            }
        const int n = ::poll(fds.data(), fds.size(), slice);
        if (n < 0 && errno != EINTR)
            return false;
        for (size_t i = 0; i < fds.size(); ++i) {
            if (!fds[i].revents)
                continue;
            if (who[i] == nullptr)
                accept_peers();
            else
                read_conn(who[i]);
        }
    }
}

Conn* peer(WORD tag)
{
    Link& l = L();
    for (auto& c : l.conns)
        if (c->outgoing && c->tag == tag && !c->dead)
            return c.get();
    const std::string path = sock_path(tag);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path)
        return nullptr;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return nullptr;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    auto c = std::make_unique<Conn>();
    c->fd = fd;
    c->outgoing = true;
    c->tag = tag;
    Conn* raw = c.get();
    l.conns.push_back(std::move(c));
    if (QCoreApplication::instance())
        watch(raw);
    write_frame(raw, LinkFrameType::Hello, 0,
                LinkPayloadWriter().u16(l.tag).u32(static_cast<uint32_t>(::getpid())).take());
    return raw->dead ? nullptr : raw;
}

// A request and its answer; none when the peer is not there or went away.
std::optional<std::string> call(WORD tag, LinkFrameType type, std::string payload)
{
    Link& l = L();
    if (!l.joined || tag == l.tag)
        return std::nullopt;
    Conn* c = peer(tag);
    if (!c)
        return std::nullopt;
    const uint32_t seq = l.nextSeq++;
    if (!write_frame(c, type, seq, std::move(payload)))
        return std::nullopt;
    serve_until([&] { return c->dead || c->replies.count(seq) > 0; },
                l.replyTimeoutMs > 0 ? l.replyTimeoutMs : -1);
    auto it = c->replies.find(seq);
    if (it == c->replies.end())
        return std::nullopt;
    std::string out = std::move(it->second);
    c->replies.erase(it);
    return out;
}

bool lock_held(WORD tag)
{
    const int fd = ::open(lock_path(tag).c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

std::vector<WORD> live_peers()
{
    std::vector<WORD> tags;
    DIR* d = ::opendir(L().dir.c_str());
    if (!d)
        return tags;
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name.size() < 6 || name.compare(name.size() - 5, 5, ".sock") != 0)
            continue;
        const std::string num = name.substr(0, name.size() - 5);
        if (num.empty() || num.size() > 5 || num.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const long t = std::strtol(num.c_str(), nullptr, 10);
        if (t > 0xFFFE || t == L().tag)
            continue;
        if (lock_held(static_cast<WORD>(t)))
            tags.push_back(static_cast<WORD>(t));
    }
    ::closedir(d);
    std::sort(tags.begin(), tags.end());
    return tags;
}

// ---- the remote operations ---------------------------------------------------------

HWND remote_find(const char* title)
{
    for (WORD t : live_peers()) {
        auto r = call(t, LinkFrameType::Find, LinkPayloadWriter().text(title).take());
        if (!r)
            continue;
        LinkPayloadReader rd(*r);
        const HWND h = rd.u32();
        if (rd.done() && h != 0 && HIWORD(h) == t)
            return h;
    }
    return 0;
}

LRESULT remote_send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    const LinkTextKind kind = LinkTextKindOf(msg);
    if (kind == LinkTextKind::Refused) {
        std::fprintf(stderr, "link: message 0x%X with a pointer refused\n", msg);
        return 0;
    }
    LinkPayloadWriter w;
    w.u32(hwnd).u32(msg).u64(wp).u64(kind == LinkTextKind::None ? static_cast<uint64_t>(lp) : 0);
    if (kind == LinkTextKind::In) {
        const char* text = reinterpret_cast<const char*>(lp);
        w.u8(1).text(text ? text : "");
    } else {
        w.u8(0);
    }
    auto r = call(HIWORD(hwnd), LinkFrameType::Send, w.take());
    if (!r)
        return 0;
    LinkPayloadReader rd(*r);
    const auto result = static_cast<LRESULT>(rd.u64());
    const bool hasText = rd.u8() != 0;
    const std::string text = hasText ? rd.text() : std::string();
    if (!rd.done())
        return 0;
    if (kind == LinkTextKind::Out && hasText && lp) {
        char* buf = reinterpret_cast<char*>(lp);
        size_t n = text.size();
        if (msg == WM_GETTEXT) {
            if (wp == 0)
                return 0;
            n = std::min<size_t>(n, wp - 1);
        }
        std::memcpy(buf, text.data(), n);
        buf[n] = '\0';
    }
    return result;
}

BOOL remote_post(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (LinkTextKindOf(msg) != LinkTextKind::None)
        return FALSE;
    Link& l = L();
    if (!l.joined)
        return FALSE;
    Conn* c = peer(HIWORD(hwnd));
    if (!c)
        return FALSE;
    return write_frame(c, LinkFrameType::Post, 0,
                       LinkPayloadWriter().u32(hwnd).u32(msg).u64(wp).u64(static_cast<uint64_t>(lp)).take())
               ? TRUE
               : FALSE;
}

HWND remote_child(HWND hwnd, int id)
{
    auto r = call(HIWORD(hwnd), LinkFrameType::Child,
                  LinkPayloadWriter().u32(hwnd).u32(static_cast<uint32_t>(id)).take());
    if (!r)
        return 0;
    LinkPayloadReader rd(*r);
    const HWND h = rd.u32();
    return rd.done() && HIWORD(h) == HIWORD(hwnd) ? h : 0;
}

LRESULT remote_winop(HWND hwnd, int op)
{
    auto r = call(HIWORD(hwnd), LinkFrameType::WinOp,
                  LinkPayloadWriter().u32(hwnd).u8(static_cast<uint8_t>(op)).take());
    if (!r)
        return 0;
    LinkPayloadReader rd(*r);
    const auto v = static_cast<LRESULT>(static_cast<int32_t>(rd.u32()));
    return rd.done() ? v : 0;
}

const ipc::RemoteOps kOps{remote_find, remote_send, remote_post, remote_child, remote_winop};

void send_ready()
{
    Link& l = L();
    if (l.readySent || l.parentTag < 0)
        return;
    l.readySent = true;
    if (Conn* c = peer(static_cast<WORD>(l.parentTag)))
        write_frame(c, LinkFrameType::Ready, 0,
                    LinkPayloadWriter().u16(l.tag).u32(static_cast<uint32_t>(::getpid())).take());
}

void wait_for_launched(const char* programFile, int pid)
{
    Link& l = L();
    if (!l.joined)
        return;
    const bool linked = std::any_of(l.linkedPrograms.begin(), l.linkedPrograms.end(),
                                    [&](const std::string& p) { return strcasecmp(p.c_str(), programFile) == 0; });
    if (!linked)
        return;
    serve_until(
        [&] {
            if (l.readyPids.count(pid))
                return true;
            int status = 0;
            // A program that ended before it was ready is not waited for.
            return ::waitpid(pid, &status, WNOHANG) == pid;
        },
        10000);
}

void leave_at_exit() { LeaveLink(); }

bool bind_socket(WORD tag)
{
    Link& l = L();
    const std::string path = sock_path(tag);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path)
        return false;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    ::unlink(path.c_str()); // a stale one: its lock was free
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 16) != 0) {
        ::close(fd);
        return false;
    }
    l.listenFd = fd;
    return true;
}

bool take_tag(WORD tag)
{
    Link& l = L();
    const int fd = ::open(lock_path(tag).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    l.lockFd = fd;
    l.tag = tag;
    return true;
}

} // namespace

bool JoinLink(LinkRole role)
{
    Link& l = L();
    if (l.joined)
        return true;
    l.dir = group_folder();
    ::mkdir(l.dir.c_str(), 0700);
    struct stat st {};
    bool ok = ::stat(l.dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    if (ok && role == LinkRole::Host) {
        ok = take_tag(0);
    } else if (ok) {
        ok = false;
        for (int t = 1; t <= 0xFFFE && !ok; ++t)
            ok = take_tag(static_cast<WORD>(t));
    }
    if (ok && !bind_socket(l.tag)) {
        ::close(l.lockFd);
        l.lockFd = -1;
        ok = false;
    }
    if (!ok) {
        SetProcessTag(role == LinkRole::Host ? 0 : 1);
        return false;
    }
    SetProcessTag(l.tag);
    if (const char* p = std::getenv("PLAT_LINK_PARENT"); p && *p) {
        const long t = std::strtol(p, nullptr, 10);
        if (t >= 0 && t <= 0xFFFE && t != l.tag)
            l.parentTag = static_cast<int>(t);
    }
    // What this program starts joins the same group and reports to it.
    ::setenv("PLAT_LINK_DIR", l.dir.c_str(), 1);
    ::setenv("PLAT_LINK_PARENT", std::to_string(l.tag).c_str(), 1);
    l.joined = true;
    if (QCoreApplication::instance()) {
        l.listenNotifier = make_notifier(l.listenFd);
        QObject::connect(l.listenNotifier.data(), &QSocketNotifier::activated, [] {
            core::QtEntry([] {
                accept_peers();
                process_all();
            });
        });
    }
    ipc::SetRemoteOps(&kOps);
    ipc::SetLoopStartHook(send_ready);
    ipc::SetLaunchHook(wait_for_launched);
    static bool registered = false;
    if (!registered) {
        registered = true;
        std::atexit(leave_at_exit);
    }
    return true;
}

bool IsLinked() { return L().joined; }

void LeaveLink()
{
    Link& l = L();
    if (!l.joined)
        return;
    l.joined = false;
    ipc::SetRemoteOps(nullptr);
    ipc::SetLoopStartHook(nullptr);
    ipc::SetLaunchHook(nullptr);
    for (auto& c : l.conns) {
        if (c->outgoing)
            write_frame(c.get(), LinkFrameType::Bye, 0, {});
        drop_notifier(c->notifier);
        ::close(c->fd);
    }
    l.conns.clear();
    drop_notifier(l.listenNotifier);
    ::close(l.listenFd);
    l.listenFd = -1;
    ::unlink(sock_path(l.tag).c_str());
    ::unlink(lock_path(l.tag).c_str());
    ::close(l.lockFd);
    l.lockFd = -1;
    l.readySent = false;
}

void DeclareLinkedProgram(const char* moduleName)
{
    if (moduleName)
        L().linkedPrograms.push_back(ModuleFileNameFor(moduleName));
}

LinkPopupResult ShowMenuBarPopup(HWND frame, int index, int x, int y)
{
    if (ipc::RemoteFor(frame)) {
        auto r = call(HIWORD(frame), LinkFrameType::MenuPopup,
                      LinkPayloadWriter()
                          .u32(frame)
                          .u32(static_cast<uint32_t>(index))
                          .u32(static_cast<uint32_t>(x))
                          .u32(static_cast<uint32_t>(y))
                          .take());
        if (!r)
            return LinkPopupResult::NoMenu;
        LinkPayloadReader rd(*r);
        const uint8_t v = rd.u8();
        return rd.done() && v <= 2 ? static_cast<LinkPopupResult>(v) : LinkPopupResult::NoMenu;
    }
    const HMENU bar = GetMenu(frame);
    if (bar == 0)
        return LinkPopupResult::NoMenu;
    const HMENU sub = index >= 0 ? GetSubMenu(bar, index) : 0;
    if (sub == 0)
        return LinkPopupResult::NoPopup;
    if (x < 0 || y < 0) {
        RECT title{};
        if (GetMenuItemRect(frame, bar, static_cast<UINT>(index), &title)) {
            x = title.left;
            y = title.bottom;
        } else {
            POINT origin{0, 0};
            ClientToScreen(frame, &origin);
            x = origin.x;
            y = origin.y;
        }
    }
    // The answer goes back first; the popup is tracked from the queue.
    const uint64_t gen = core::Find(frame) ? core::Find(frame)->gen : 0;
    QTimer::singleShot(0, [frame, sub, x, y, gen] {
        core::QtEntry([&] {
            core::WindowRec* r = core::Find(frame);
            if (r && r->gen == gen && IsMenu(sub))
                TrackPopupMenu(sub, TPM_LEFTALIGN, x, y, 0, frame, nullptr);
        });
    });
    return LinkPopupResult::Shown;
}

void SetLinkReplyTimeout(int ms) { L().replyTimeoutMs = ms; }

} // namespace plat
