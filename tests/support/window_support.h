// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the widget tests and the window benchmarks hand the windows or hang on them: platform
// services that follow no link but record what they were asked, and a counter of paint events.

#include "platform/platform_services.h"

#include <QEvent>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <stdexcept>

namespace kestrune::testing {

struct OpenCall {
    QString operation;
    QString target;

    friend bool operator==(const OpenCall&, const OpenCall&) = default;
};

// Records every call and follows nothing; its answers (every link works, the messenger is
// installed) are set by the test.
class RecordingServices final : public ui::PlatformServices {
public:
    bool openTarget(const QString& operation, const QString& target) override {
        opened.append({operation, target});
        if (throwOnOpen) {
            throw std::runtime_error("no program for this target");
        }
        return openSucceeds;
    }
    std::optional<QString> readRegistryValue(const QString& path) override {
        registryReads.append(path);
        if (throwOnRead) {
            throw std::runtime_error("registry unavailable");
        }
        return registryValue;
    }
    bool startProgram(const QString& program) override {
        started.append(program);
        return startSucceeds;
    }

    qsizetype callCount() const { return opened.size() + registryReads.size() + started.size(); }
    // What was opened or started: each link followed.
    qsizetype followed() const { return opened.size() + started.size(); }

    QList<OpenCall> opened;
    QStringList registryReads;
    QStringList started;

    std::optional<QString> registryValue = QStringLiteral("C:\\Program Files\\Tencent\\QQ\\Bin\\");
    bool openSucceeds = true;
    bool startSucceeds = true;
    bool throwOnOpen = false;
    bool throwOnRead = false;
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
