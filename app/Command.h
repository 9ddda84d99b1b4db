#pragma once

#include <string>

#include "app/DeviceCommand.h"

namespace frontend {

enum class CommandKind {
    Tap,
    Type,
    Return,
    Back,
    PullDown,
    PullUp,
    Swipe,
    Drag,
    Alert,
    Wait,
    Settle,
    Screenshot,
    Zoom,
    Device,
    Open,
    Share,
    Display,
    Help,
    Quit,
};

// One command of the terminal front end, as typed or read from a script.
struct Command {
    CommandKind kind = CommandKind::Help;
    // What the command acts on: a handle or a visible text (tap, type, swipe, alert; pull
    // when one is named, else the first scroll view on screen).
    std::string target;
    // open: the screen opened ("index"), with its argument in text.
    // share: the share SDK screen ("edit" or "signin") in target, the platform in text;
    // "follow" in target offers following the platform's official account `account`;
    // "theme" in target chooses the SDK's theme, "0" or "1" in text.
    // type: the text typed; screenshot: the file written.
    std::string text;
    int page = 0;        // swipe
    double seconds = 0;  // wait
    double factor = 1;   // zoom
    // drag: what the target is dragged onto (a handle or a visible text); when that is empty,
    // the point (x, y) it is dragged to. With no target, a bare finger goes from (x, y) to
    // (toX, toY). All in points from the screen's top left.
    std::string onto;
    double x = 0;
    double y = 0;
    double toX = 0;
    double toY = 0;
    std::string account;  // share follow
    // device: what the device stand-ins are told.
    DeviceCommand device;
};

}  // namespace frontend
