#include "help/frm_help.h"

#include "common/accessibility.h"
#include "common/activation_keys.h"
#include "common/fonts.h"
#include "common/palettes.h"
#include "common/picture_sizes.h"
#include "common/pictures.h"
#include "common/twips.h"
#include "common/window_states.h"
#include "help/publisher.h"
#include "platform/platform_services.h"

#include <QColor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWindow>
#include <algorithm>
#include <iterator>
#include <optional>

namespace kestrune::ui {

namespace {

// Layout, in twips from the top-left corner of the client area.
constexpr double clientWidth = 4335;
constexpr double clientHeight = 3375;
constexpr double informationLeft = 480;
constexpr std::array<double, frmHelp::informationCount> informationTop{120,  454,  795,  1125,
                                                                       1455, 1785, 2130, 2520};
constexpr double okLeft = 1680;
constexpr double okTop = 2880;
constexpr double okWidth = 1140;
constexpr double okHeight = 360;

constexpr double headingPointSize = 8.25;

// The lines that are links.
constexpr int mailLine = 2;
constexpr int homePageLine = 3;
constexpr int messengerLine = 4;

// Colours as numbers in 0x00BBGGRR.
constexpr quint32 linkHoverColour = 65280; // green
constexpr quint32 restedColour = 0;        // black

QColor colourOf(quint32 bgr) {
    return QColor(static_cast<int>(bgr & 0xFFu), static_cast<int>((bgr >> 8) & 0xFFu),
                  static_cast<int>((bgr >> 16) & 0xFFu));
}

bool isHeading(int index) {
    return index == 0 || index == 5;
}

bool isLink(int index) {
    return index == mailLine || index == homePageLine || index == messengerLine;
}

QString informationText(int index) {
    switch (index) {
    case 0:
        return QStringLiteral("一、软件信息：");
    case 1:
        return QStringLiteral("Publisher:") + publisher::chineseName + u'(' + publisher::latinName +
               u')';
    case mailLine:
        return QStringLiteral("eMail:") + publisher::mailAddress;
    case homePageLine:
        return QStringLiteral("Home Page:") + publisher::homePage;
    case messengerLine:
        return QStringLiteral("QQ:") + publisher::messengerAccount;
    case 5:
        return QStringLiteral("二、温馨提示：");
    case 6:
        return QStringLiteral("确定以某次选择为准即可，犹豫、多选无益。");
    case 7:
        return QStringLiteral("若中奖，望告知；你得利，我留名。");
    default:
        return {};
    }
}

// A line of the window. A link line that has the keyboard focus wears the style's focus frame:
// its colour already tells of the pointer, so the focus must show as a shape.
class InformationLabel final : public QLabel {
public:
    InformationLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

protected:
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        if (hasFocus()) {
            QPainter painter(this);
            QStyleOptionFocusRect frame;
            frame.initFrom(this);
            frame.state |= QStyle::State_KeyboardFocusChange;
            frame.backgroundColor = palette().color(backgroundRole());
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
        }
    }
};

// A hovered link is underlined as well: pure green on the light gray face is hard to tell from
// the other lines by colour alone.
void setTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    const bool underline = colour == colourOf(linkHoverColour);
    if (label->font().underline() != underline) {
        QFont font = label->font();
        font.setUnderline(underline);
        label->setFont(font);
    }
}

} // namespace

frmHelp::frmHelp(PlatformServices& services)
    : QDialog(nullptr,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      services_(services) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Kestrune 帮助"));
    setFont(uiFont());
    // The lines turn black and green as designed on a light window face; a dark theme would
    // leave them unreadable, so the window keeps that light face there.
    if (contrastRatio(colourOf(restedColour), palette().color(QPalette::Window)) <
        minimumTextContrast) {
        setPalette(lightFacePalette());
    }
    setFixedSize(sizeFromTwips(clientWidth, clientHeight));
    setSizeGripEnabled(false);
    // The program's icon, which title bars and task switchers show; and no maximized or
    // minimized state even where a title bar offers one anyway.
    setWindowIcon(sizedPicture(QStringLiteral(":/assets/kestrune.png"), iconPictureSizes));
    keepFixedSize(*this);
    closeWhenMinimized(*this);
    // Moves over the bare window reach mouseMoveEvent without a button held down as well.
    setMouseTracking(true);

    const QColor startColour = palette().color(QPalette::ButtonText);
    QStringList allText;
    for (int index = 0; index < informationCount; ++index) {
        auto* label = new InformationLabel(informationText(index), this);
        allText << label->text();
        label->setObjectName(QStringLiteral("lblInformation_%1").arg(index));
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(false);
        label->setFont(isHeading(index) ? uiFont(headingPointSize, true) : uiFont());
        // The links are reached with Tab only: a click must not move the focus from cmdOk.
        label->setFocusPolicy(isLink(index) ? Qt::TabFocus : Qt::NoFocus);
        if (isLink(index)) {
            exposeAsLink(label);
        }
        label->setBackgroundRole(QPalette::Window);
        label->setAutoFillBackground(true);
        setTextColour(label, startColour);
        label->move(pointFromTwips(informationLeft, informationTop[index]));
        label->adjustSize();
        // A label keeps its own mouse events: a move over a label is never one over the window.
        label->setMouseTracking(true);
        label->setAttribute(Qt::WA_NoMousePropagation);
        label->installEventFilter(this);
        lblInformation_[index] = label;
    }

    cmdOk_ = new QPushButton(QStringLiteral("确    定"), this);
    cmdOk_->setObjectName(QStringLiteral("cmdOk"));
    // The blanks only space the caption out; a screen reader would read them.
    cmdOk_->setAccessibleName(QStringLiteral("确定"));
    cmdOk_->setFont(uiFont());
    cmdOk_->setGeometry(rectFromTwips(okLeft, okTop, okWidth, okHeight));
    // Neither the default nor the cancel button of the window.
    cmdOk_->setAutoDefault(false);
    cmdOk_->setDefault(false);
    cmdOk_->setFocusPolicy(Qt::StrongFocus);
    // Nor is a move over the button one over the bare window.
    cmdOk_->setAttribute(Qt::WA_NoMousePropagation);
    cmdOk_->installEventFilter(this);
    connect(cmdOk_, &QPushButton::clicked, this, &QWidget::close);
    setTabOrder(cmdOk_, lblInformation_[mailLine]);
    setTabOrder(lblInformation_[mailLine], lblInformation_[homePageLine]);
    setTabOrder(lblInformation_[homePageLine], lblInformation_[messengerLine]);
    cmdOk_->setFocus();
    // A screen reader reads a dialog's loose labels on opening only when they hold three words
    // or more, which Chinese lines without spaces never do; it reads the description instead.
    setAccessibleDescription(allText.join(u'\n'));
    exposeAsDialog(this);
    linkNews_ = new QLabel(this);
    linkNews_->setObjectName(QStringLiteral("linkNews"));
    // Beyond the client area, like the main window's notification: never seen.
    linkNews_->setGeometry(QRect(pointFromTwips(clientWidth, clientHeight), QSize(1, 1)));
    linkNews_->hide();
    exposeAsNotification(linkNews_);
}

void frmHelp::centreOnScreen(const QWidget* framedLike) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    centreIn(screen->geometry(), framedLike);
}

void frmHelp::centreOver(const QWidget& window) {
    centreIn(window.frameGeometry(), &window);
    // Over a window dragged partly off its screen, the help window stays whole on that screen.
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const QRect outer = frameGeometry();
    move(std::clamp(outer.left(), area.left(),
                    std::max(area.left(), area.right() - outer.width() + 1)),
         std::clamp(outer.top(), area.top(),
                    std::max(area.top(), area.bottom() - outer.height() + 1)));
}

void frmHelp::centreIn(const QRect& area, const QWidget* framedLike) {
    // The platform window knows the size of its frame once it exists, except under an X11
    // window manager, which frames a window only once it is shown: there a window of the
    // program that is already shown lends its frame.
    winId();
    QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    const bool frameLent =
        frame.isNull() && framedLike != nullptr && framedLike->windowHandle() != nullptr;
    if (frameLent) {
        frame = framedLike->windowHandle()->frameMargins();
    }
    const QSize outer = size().grownBy(frame);

    // move() places the outer rectangle, frame included, as far as the window knows its frame:
    // without one of its own yet, that is the client area.
    const QPoint frameTopLeft =
        centredIn(area, QSizeF(twipsOf(outer.width()), twipsOf(outer.height())));
    move(frameLent ? frameTopLeft + QPoint(frame.left(), frame.top()) : frameTopLeft);
}

bool frmHelp::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cmdOk_) {
        if (event->type() == QEvent::FocusIn) {
            // Styles draw a button's focus only after a focus move by keyboard, and opening the
            // window counts as none; a keyboard user must see where Enter goes from the start.
            setAttribute(Qt::WA_KeyboardFocusChange);
        }
        // Like any focused button, cmdOk answers Enter as well as the space bar; a held Enter
        // presses it at every repeat.
        if (activateOnKey(*event, ActivationKeys::enter, HeldKey::activatesAgain,
                          [this] { cmdOk_->click(); })) {
            return true;
        }
        return QDialog::eventFilter(watched, event);
    }

    const int index = informationIndexOf(watched);
    if (index < 0) {
        return QDialog::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::KeyPress:
        // A link with the focus follows on Enter or the space bar, as a click does.
        if (isLink(index) &&
            activateOnKey(*event, ActivationKeys::enterOrSpace, HeldKey::activatesOnce,
                          [this, index] { lblInformationClick(index); })) {
            return true;
        }
        return QDialog::eventFilter(watched, event);
    case QEvent::MouseMove:
        lblInformationMouseMove(index);
        return true;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            pressedIndex_ = index;
        }
        return true;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) {
            return true;
        }
        // A click is a press and a release over the same label.
        const bool clicked = pressedIndex_ == index &&
                             lblInformation_[index]->rect().contains(mouse->position().toPoint());
        pressedIndex_ = -1;
        if (clicked) {
            lblInformationClick(index);
        }
        return true;
    }
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void frmHelp::mouseMoveEvent(QMouseEvent* event) {
    // Only moves over the bare window arrive here; the labels and the button keep theirs.
    for (QLabel* label : lblInformation_) {
        setTextColour(label, colourOf(restedColour));
    }
    event->accept();
}

void frmHelp::keyPressEvent(QKeyEvent* event) {
    // The window has no cancel and no default button: Esc and Enter close nothing.
    if (event->matches(QKeySequence::Cancel) || event->key() == Qt::Key_Escape ||
        event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

int frmHelp::informationIndexOf(const QObject* object) const {
    const auto found = std::find(lblInformation_.begin(), lblInformation_.end(), object);
    return found == lblInformation_.end()
               ? -1
               : static_cast<int>(std::distance(lblInformation_.begin(), found));
}

void frmHelp::lblInformationMouseMove(int index) {
    if (isLink(index)) {
        setTextColour(lblInformation_[index], colourOf(linkHoverColour));
    }
}

void frmHelp::lblInformationClick(int index) {
    if (!isLink(index)) {
        return;
    }
    // A link that fails changes nothing, and the next click simply tries again; the user learns
    // why in a message box. One that works is announced to a screen reader, which would hear
    // nothing else: the program it starts opens a window of its own, or none at all. The
    // services come from outside; whatever they throw stops here.
    QString failure;
    try {
        failure = index == mailLine       ? followMailLink()
                  : index == homePageLine ? followHomePageLink()
                                          : followMessengerLink();
    } catch (const std::exception& error) {
        failure = QStringLiteral("未能打开链接：%1").arg(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        failure = QStringLiteral("未能打开链接。");
    }
    if (failure.isEmpty()) {
        announce(linkNews_, index == mailLine       ? QStringLiteral("已打开邮件程序")
                            : index == homePageLine ? QStringLiteral("已打开主页")
                                                    : QStringLiteral("已启动 QQ"));
        return;
    }
    QMessageBox box(QMessageBox::Warning, windowTitle(), failure, QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("linkFailureBox"));
    box.exec();
}

QString frmHelp::followMailLink() {
    // The target goes out exactly as written here, without percent-encoding.
    const QString target = QStringLiteral("mailto:") + publisher::mailAddress +
                           QStringLiteral("?subject=致意&body=") + publisher::mailGreeting();
    if (!services_.openTarget(QStringLiteral("open"), target)) {
        return QStringLiteral("未能打开邮件程序：这台电脑上没有可用的邮件程序。");
    }
    return {};
}

QString frmHelp::followHomePageLink() {
    // An empty operation: the system's default action for a web address.
    if (!services_.openTarget(QString(), publisher::homePage)) {
        return QStringLiteral("未能打开主页：这台电脑上没有可用的网页浏览器。");
    }
    return {};
}

QString frmHelp::followMessengerLink() {
    // The install value names the messenger's folder, separator included; the program's name
    // follows it directly. The result is a path and nothing else: no shell ever reads it.
    const std::optional<QString> folder =
        services_.readRegistryValue(QStringLiteral("HKLM\\SOFTWARE\\Tencent\\qq\\Install"));
    if (!folder) {
        return QStringLiteral("未能启动 QQ：没有设置它的安装位置。");
    }
    const QString program = *folder + QStringLiteral("QQ.exe");
    if (!services_.startProgram(program)) {
        return QStringLiteral("未能启动 QQ：%1 无法运行。").arg(program);
    }
    return {};
}

void showHelpWindow(PlatformServices& services, QWidget* mainWindow, bool overMainWindow) {
    auto* window = new frmHelp(services);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::ApplicationModal);
    if (overMainWindow && mainWindow != nullptr) {
        window->centreOver(*mainWindow->window());
    } else {
        window->centreOnScreen(mainWindow != nullptr ? mainWindow->window() : nullptr);
    }
    // The window stays without an owner widget, but the window system learns that it belongs
    // to the main window: a Wayland compositor, which ignores where a program puts its windows,
    // then places it over the main window instead of anywhere.
    if (mainWindow != nullptr && window->windowHandle() != nullptr) {
        window->windowHandle()->setTransientParent(mainWindow->window()->windowHandle());
    }
    // exec() returns when the window has been closed and deletes it then (delete on close).
    window->exec();
}

} // namespace kestrune::ui
