// The help viewer: one browser window per process showing the topic files
// of the help folder that stands for a .hlp name.
#include "plat/help.h"
#include "core/core_p.h"
#include "plat/gdi.h"
#include "plat/path.h"
#include "plat/profile.h"
#include "plat/uihost.h"
#include "text_qt_p.h"
#include <QEvent>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <string>

namespace plat {

namespace {

QPointer<QTextBrowser> g_viewer;
std::string g_page;

// "vorn.hlp" -> the folder "vorn.help" beside it.
std::string help_folder(const char* file)
{
    std::string f = file;
    const size_t dot = f.rfind('.');
    const size_t slash = f.find_last_of("/\\");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        f.resize(dot);
    return f + ".help";
}

bool is_dir(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).isDir();
}

bool is_file(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).isFile();
}

// The profile's rectangle is the whole window, the window manager's frame
// included. The frame is known only once the window is on screen, so the
// client is shrunk by it the first time it shows.
class FrameFit : public QObject {
public:
    FrameFit(QObject* parent, const QRect& outer) : QObject(parent), outer_(outer) {}
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        const QEvent::Type t = e->type();
        if (done_ || (t != QEvent::Show && t != QEvent::Move && t != QEvent::Resize))
            return false;
        auto* w = static_cast<QWidget*>(watched);
        const int dw = w->frameGeometry().width() - w->geometry().width();
        const int dh = w->frameGeometry().height() - w->geometry().height();
        if (dw > 0 || dh > 0) {
            done_ = true;
            w->move(outer_.topLeft());
            w->resize(std::max(outer_.width() - dw, 1), std::max(outer_.height() - dh, 1));
        }
        return false;
    }

private:
    QRect outer_;
    bool done_ = false;
};

void place(QTextBrowser* v)
{
    char buf[64] = {};
    GetProfileString("Windows Help", "M_WindowPosition", "", buf, sizeof buf);
    int x = 0, y = 0, w = 0, h = 0, state = 0;
    QRect outer(100, 100, 600, 450);
    if (std::sscanf(buf, "[%d,%d,%d,%d,%d]", &x, &y, &w, &h, &state) >= 4 && w > 0 && h > 0)
        outer = QRect(x, y, w, h);
    // A top-level widget's position is its frame's.
    v->move(outer.topLeft());
    v->resize(outer.size());
    v->installEventFilter(new FrameFit(v, outer));
}

} // namespace

BOOL WinHelp(HWND hwnd, const char* file, UINT command, uintptr_t data)
{
    if (command == HELP_QUIT) {
        if (g_viewer)
            g_viewer->close();
        delete g_viewer.data();
        g_page.clear();
        return TRUE;
    }
    if (!file || !*file)
        return FALSE;
    const std::string folder = ResolvePath(help_folder(file).c_str());
    if (!is_dir(folder)) {
        const std::string text = std::string("Cannot find the help file ") + file + ".";
        MessageBox(hwnd, text.c_str(), "Help", MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    std::string page = ResolvePath((folder + "/contents.html").c_str());
    if (command == HELP_CONTEXT) {
        const std::string topic = ResolvePath((folder + "/" + std::to_string(data) + ".html").c_str());
        if (is_file(topic))
            page = topic;
    }
    if (!is_file(page)) {
        const std::string text = std::string("Cannot find the help file ") + file + ".";
        MessageBox(hwnd, text.c_str(), "Help", MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    core::EnsureCoreInit();
    if (!g_viewer) {
        g_viewer = new QTextBrowser();
        g_viewer->setAttribute(Qt::WA_DeleteOnClose);
        g_viewer->setWindowTitle(QStringLiteral("Help"));
        g_viewer->setOpenLinks(true);
        place(g_viewer);
    }
    g_viewer->setSource(QUrl::fromLocalFile(QString::fromStdString(page)));
    g_page = page;
    g_viewer->show();
    g_viewer->raise();
    return TRUE;
}

const char* HelpViewerPage() { return g_viewer ? g_page.c_str() : ""; }

BOOL GetHelpViewerRect(RECT* rect)
{
    if (!g_viewer || !rect)
        return FALSE;
    const QRect g = g_viewer->frameGeometry();
    *rect = RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    return TRUE;
}

BOOL SaveHelpViewerPng(const char* path)
{
    if (!g_viewer || !path)
        return FALSE;
    return g_viewer->grab().save(QString::fromLocal8Bit(path), "PNG") ? TRUE : FALSE;
}

} // namespace plat
