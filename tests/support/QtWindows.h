// Real Qt windows in a test, drawn on the offscreen platform.
#pragma once

#include "mainform/Pictures.h"
#include "ui/qt/QtBackend.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <filesystem>
#include <string>

// The arguments QApplication keeps referring to, alive as long as the back end.
struct QtTestArguments {
    int argc = 1;
    char program[16] = "quillmarven";
    char* argv[2] = {program, nullptr};
};

// The Qt back end for a test: the application's back end while it lives.
class QtTestBackend : private QtTestArguments, public QtBackend {
public:
    QtTestBackend() : QtBackend(argc, argv) {}
};

// The same, for the program's windows: with the decoders of the pictures they load.
class QtTestWindows : public QtTestBackend {
public:
    QtTestWindows() { InstallPictureDecoders(); }
};

// Where a test leaves a picture for a person to look at: a folder of this build, so that test runs
// of other checkouts on the same machine never write, and read back, the same file.
inline std::string ScreenshotFile(const std::string& name)
{
    const std::filesystem::path folder = std::filesystem::path(QM_PROGRAM_DIR).parent_path() / "screenshots";
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

// A person's key (pressed and released) and mouse button on a widget.
inline void Press(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
{
    QKeyEvent down(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &up);
}
inline void MouseDown(QWidget* w, QPointF at)
{
    QMouseEvent down(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &down);
}
inline void MouseUp(QWidget* w, QPointF at)
{
    QMouseEvent up(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &up);
}

// The pixels darker than mid-grey within `area` of a picture: where text was drawn.
inline int DarkPixels(const QImage& shot, const QRect& area)
{
    const QRect r = area.intersected(shot.rect());
    int dark = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) dark += qGray(shot.pixel(x, y)) < 100;
    return dark;
}
