#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/TaboraApp.h"
#include "app/TaboraWindow.h"
#include "controls/PreviewWnd.h"
#include "platform/Fonts.h"

int main(int argc, char** argv) {
    const auto started = std::chrono::steady_clock::now();
    // A file-size limit (ulimit -f) makes a save fail with "File too large"
    // instead of ending the program with the user's work.
    std::signal(SIGXFSZ, SIG_IGN);
    // The font configuration loads while Qt starts.
    tabora::PrewarmFonts();
    tabora::TaboraApp app(argc, argv);
    if (!app.InitInstance()) return 1;

    // TABORA_STARTUP_PROBE=1: report the first paint of the preview (wall
    // clock in ns, and ms since main) on standard error, then quit. Used to
    // time the start-up.
    if (std::getenv("TABORA_STARTUP_PROBE")) {
        QObject::connect(app.window()->preview(), &tabora::PreviewWnd::painted, &app, [&] {
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            const double ms = std::chrono::duration<double, std::milli>(
                                  std::chrono::steady_clock::now() - started).count();
            std::fprintf(stderr, "first-paint %lld%09ld %.1f\n", (long long)now.tv_sec,
                         now.tv_nsec, ms);
            std::fflush(stderr);
            std::_Exit(0);
        });
    }
    return app.exec();
}
