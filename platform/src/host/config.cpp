// GUI start-up and the desktop the programs see.
#include "plat/config.h"
#include "host/host_p.h"
#include <QApplication>
#include <QFontDatabase>
#include <QLocale>
#include <QScreen>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale>

namespace plat {

namespace {

SIZE g_desktop{0, 0};
bool g_guiReady = false;

bool parse_size(const char* s, SIZE& out)
{
    if (!s)
        return false;
    int w = 0, h = 0;
    char x = 0, tail = 0;
    if (std::sscanf(s, "%d%c%d%c", &w, &x, &h, &tail) != 3 || (x != 'x' && x != 'X'))
        return false;
    if (w <= 0 || h <= 0 || w > 16384 || h > 16384)
        return false;
    out = {w, h};
    return true;
}

void check_fonts()
{
    const QStringList have = QFontDatabase::families();
    for (const char* family : {"Liberation Sans", "Liberation Serif", "Liberation Mono", "DejaVu Sans"}) {
        if (!have.contains(QString::fromLatin1(family), Qt::CaseInsensitive))
            std::fprintf(stderr, "platform: font \"%s\" is missing; text will not match its layout\n", family);
    }
}

} // namespace

SIZE DesktopSize()
{
    if (g_desktop.cx > 0)
        return g_desktop;
    SIZE env;
    if (parse_size(std::getenv("PLAT_DESKTOP"), env))
        return env;
    if (GuiAvailable()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QSize s = screen->size();
            if (s.width() > 0 && s.height() > 0)
                return {s.width(), s.height()};
        }
    }
    return {1024, 768};
}

void SetDesktopSize(int width, int height)
{
    g_desktop = width > 0 && height > 0 ? SIZE{width, height} : SIZE{0, 0};
}

bool GuiAvailable() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

void InitGui(int& argc, char** argv)
{
    if (g_guiReady && GuiAvailable())
        return;
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    if (!QCoreApplication::instance()) {
        // Never deleted: windows may outlive main's locals at exit.
        new QApplication(argc, argv);
    }
    // Qt installs the user's locale; numbers are always written the C way.
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(QLocale::c());
    std::locale::global(std::locale::classic());
    SetDefaultUiHost(GuiUiHost());
    check_fonts();
    g_guiReady = true;
}

void InitGui()
{
    static int argc = 1;
    static char name[] = "vorn";
    static char* argv[] = {name, nullptr};
    InitGui(argc, argv);
}

} // namespace plat
