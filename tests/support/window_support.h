#pragma once

// What the widget tests and the window benchmarks hand the windows or hang on them: platform
// services that do nothing (no link is followed), and a counter of paint events.

#include "platform/platform_services.h"

#include <QEvent>
#include <QObject>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <optional>

namespace kestrune::testing {

class NoPlatformServices final : public ui::PlatformServices {
public:
    bool openTarget(const QString&, const QString&) override { return false; }
    std::optional<QString> readRegistryValue(const QString&) override { return std::nullopt; }
    bool startProgram(const QString&) override { return false; }
};

// Counts the paint events of the widgets it watches.
class PaintCounter final : public QObject {
public:
    void watch(QWidget* widget) { widget->installEventFilter(this); }
    std::int64_t paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

} // namespace kestrune::testing
