#pragma once

#include <QString>
#include <QStringList>

// How a Remote Desktop session is shaped on the user's screens. The defaults add nothing, so that the client
// keeps its own behaviour. Written into the connection text as the MSTSC keys; the Linux launcher turns the
// same keys into FreeRDP options.
struct RdpDisplay {
    enum Mode { ClientDefault = 0, FullScreen = 1, Window = 2 };

    int mode = ClientDefault;
    int windowWidth = 1280; // used in Window mode
    int windowHeight = 800;
    bool allMonitors = false;
    bool dynamicResolution = false;
    int scalePercent = 100;

    static constexpr int kMinSize = 640;
    static constexpr int kMaxSize = 8192;
    static constexpr int kMinScale = 100;
    static constexpr int kMaxScale = 300;

    // The scale factors the MSTSC client accepts within 100-300 %; another value is taken to the nearest.
    [[nodiscard]] static int nearestScale(int percent);
    // Those scale factors, smallest first.
    [[nodiscard]] static QList<int> scaleSteps();

    // The connection file lines, in this order: "screen mode id:i:1|2", "desktopwidth:i:W",
    // "desktopheight:i:H" (window only), "use multimon:i:1", "dynamic resolution:i:1",
    // "desktopscalefactor:i:N" (not at 100).
    [[nodiscard]] QStringList fileLines() const;
    // The FreeRDP options for the display lines of a connection text ("/f", "/size:WxH", "/multimon",
    // "/dynamic-resolution", "/scale-desktop:N"). Only these keys are read, only as whole numbers within
    // their ranges; anything else adds nothing.
    [[nodiscard]] static QStringList freeRdpArguments(const QString &connectionText);
};
