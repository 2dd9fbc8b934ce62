// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/help_lines.h"

#include "help/publisher.h"
#include "platform/platform_services.h"

namespace kestrune::ui {

namespace {

QString followMailLink(PlatformServices& services);
QString followHomePageLink(PlatformServices& services);
QString followMessengerLink(PlatformServices& services);

} // namespace

// Top to bottom, lblInformation_0 to lblInformation_7. A link names the function that follows
// it (below) and what a screen reader hears once it was followed; the function also says why it
// failed.
const std::array<HelpLine, helpLineCount>& helpLines() {
    static const std::array<HelpLine, helpLineCount> lines{{
        {QStringLiteral("一、软件信息："), std::nullopt},
        {QStringLiteral("Publisher:") + publisher::chineseName + u'(' + publisher::latinName + u')',
         std::nullopt},
        {QStringLiteral("eMail:") + publisher::mailAddress,
         HelpLink{followMailLink, QStringLiteral("已打开邮件程序")}},
        {QStringLiteral("Home Page:") + publisher::homePage,
         HelpLink{followHomePageLink, QStringLiteral("已打开主页")}},
        {QStringLiteral("QQ:") + publisher::messengerAccount,
         HelpLink{followMessengerLink, QStringLiteral("已启动 QQ")}},
        {QStringLiteral("二、温馨提示："), std::nullopt},
        {QStringLiteral("确定以某次选择为准即可，犹豫、多选无益。"), std::nullopt},
        {QStringLiteral("若中奖，望告知；你得利，我留名。"), std::nullopt},
    }};
    return lines;
}

namespace {

// A new mail to the publisher, in the system's mail program.
QString followMailLink(PlatformServices& services) {
    // The target goes out exactly as written here, without percent-encoding.
    const QString target = QStringLiteral("mailto:") + publisher::mailAddress +
                           QStringLiteral("?subject=致意&body=") + publisher::mailGreeting();
    if (!services.openTarget(QStringLiteral("open"), target)) {
        return QStringLiteral("未能打开邮件程序：这台电脑上没有可用的邮件程序。");
    }
    return {};
}

// The publisher's home page, in the system's web browser.
QString followHomePageLink(PlatformServices& services) {
    // An empty operation: the system's default action for a web address.
    if (!services.openTarget(QString(), publisher::homePage)) {
        return QStringLiteral("未能打开主页：这台电脑上没有可用的网页浏览器。");
    }
    return {};
}

// The messenger, started from where its installer wrote down its folder.
QString followMessengerLink(PlatformServices& services) {
    // The install value names the messenger's folder, separator included; the program's name
    // follows it directly. The result is a path and nothing else: no shell ever reads it.
    const std::optional<QString> folder =
        services.readRegistryValue(QStringLiteral("HKLM\\SOFTWARE\\Tencent\\qq\\Install"));
    if (!folder) {
        return QStringLiteral("未能启动 QQ：没有设置它的安装位置。");
    }
    const QString program = *folder + QStringLiteral("QQ.exe");
    if (!services.startProgram(program)) {
        return QStringLiteral("未能启动 QQ：%1 无法运行。").arg(program);
    }
    return {};
}

} // namespace

} // namespace kestrune::ui
