// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The publisher's contact values, shown by the help window and used by its links; this is the
// only place they are written down. The mail and web domains are reserved for examples
// (RFC 2606) and messenger accounts start at five digits, so none of them reaches anybody real.

#include <QString>

namespace kestrune::ui::publisher {

inline const QString chineseName = QStringLiteral("林晓风");
inline const QString latinName = QStringLiteral("Lin Xiaofeng");
// The personal name, by which the mail greeting addresses the publisher.
inline const QString personalName = QStringLiteral("晓风");

inline const QString mailAddress = QStringLiteral("xf@example.com");
inline const QString homePage = QStringLiteral("http://www.example.org/");
inline const QString messengerAccount = QStringLiteral("2606");

// The body of a new mail to the publisher: the personal name, a full-width comma and "hello"
// with a full-width exclamation mark.
inline QString mailGreeting() {
    return personalName + QStringLiteral("，你好！");
}

} // namespace kestrune::ui::publisher
