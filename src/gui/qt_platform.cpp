#include "gui/qt_platform.h"

#include "controls/form.h"
#include "gui/form_view.h"
#include "gui/send_keys.h"
#include "gui/units.h"
#include "gui/user_operation.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>
#include <QUrlQuery>

namespace gui {

using namespace controls;

QList<QMessageBox::StandardButton> messageButtons(int vbButtons)
{
    QList<QMessageBox::StandardButton> result;
    for (int answer : msgBoxAnswers(vbButtons)) {
        switch (answer) {
        case vbOK: result << QMessageBox::Ok; break;
        case vbCancel: result << QMessageBox::Cancel; break;
        case vbAbort: result << QMessageBox::Abort; break;
        case vbRetry: result << QMessageBox::Retry; break;
        case vbIgnore: result << QMessageBox::Ignore; break;
        case vbYes: result << QMessageBox::Yes; break;
        case vbNo: result << QMessageBox::No; break;
        default: break;
        }
    }
    return result;
}

QMessageBox::Icon messageIcon(int vbButtons)
{
    switch (vbButtons & 0x70) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

int messageAnswer(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok: return vbOK;
    case QMessageBox::Abort: return vbAbort;
    case QMessageBox::Retry: return vbRetry;
    case QMessageBox::Ignore: return vbIgnore;
    case QMessageBox::Yes: return vbYes;
    case QMessageBox::No: return vbNo;
    default: return vbCancel;
    }
}

QStringList qtNameFilters(const QString &windowsFilter)
{
    QStringList parts = windowsFilter.split(QChar(0));
    while (!parts.isEmpty() && parts.back().isEmpty())
        parts.removeLast();
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString &pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            patterns << (pattern.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : pattern.trimmed());
        // A description that already names its patterns keeps them out of Qt's parentheses.
        QString description = parts[i];
        const qsizetype paren = description.indexOf(QLatin1Char('('));
        if (paren > 0)
            description = description.left(paren).trimmed();
        filters << QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
    }
    return filters;
}

QtPlatform::QtPlatform(bool interactive) : m_interactive(interactive) {}

QtPlatform::~QtPlatform()
{
    if (m_overrideCursor && qApp)
        QGuiApplication::restoreOverrideCursor();
}

int QtPlatform::msgBox(const QString &prompt, int buttons, const QString &title)
{
    if (!m_interactive)
        return HeadlessPlatform::msgBox(prompt, buttons, title);
    QMessageBox box(m_parent);
    box.setWindowTitle(title.isEmpty() ? QStringLiteral("Tessary") : title);
    box.setText(prompt);
    box.setIcon(messageIcon(buttons));
    const QList<QMessageBox::StandardButton> qtButtons = messageButtons(buttons);
    for (QMessageBox::StandardButton b : qtButtons)
        box.addButton(b);
    const int defaultIndex = (buttons >> 8) & 3;
    box.setDefaultButton(qtButtons.value(defaultIndex, qtButtons.front()));
    if (qtButtons.contains(QMessageBox::Cancel))
        box.setEscapeButton(QMessageBox::Cancel);
    else if (qtButtons.size() == 1)
        box.setEscapeButton(qtButtons.front());
    // Any pointer set for a long operation would hide that a question waits.
    const bool hadOverride = m_overrideCursor;
    if (hadOverride)
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (hadOverride)
        QGuiApplication::restoreOverrideCursor();
    const auto clicked = box.standardButton(box.clickedButton());
    // Closing the box answers like Esc would, or with the only button.
    return clicked == QMessageBox::NoButton ? (qtButtons.size() == 1 ? messageAnswer(qtButtons.front()) : vbCancel)
                                            : messageAnswer(clicked);
}

void QtPlatform::doEvents()
{
    HeadlessPlatform::doEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtPlatform::setScreenMousePointer(MousePointer pointer)
{
    m_pointer = pointer;
    if (!qApp)
        return;
    if (pointer == MousePointer::Default) {
        if (m_overrideCursor)
            QGuiApplication::restoreOverrideCursor();
        m_overrideCursor = false;
        return;
    }
    const QCursor cursor(cursorShape(pointer));
    if (m_overrideCursor)
        QGuiApplication::changeOverrideCursor(cursor);
    else
        QGuiApplication::setOverrideCursor(cursor);
    m_overrideCursor = true;
}

int QtPlatform::screenWidth() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return HeadlessPlatform::screenWidth();
    return static_cast<int>(screen->size().width() * double(kTwipsPerPixel) * 96.0 / screen->logicalDotsPerInchX());
}

int QtPlatform::screenHeight() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return HeadlessPlatform::screenHeight();
    return static_cast<int>(screen->size().height() * double(kTwipsPerPixel) * 96.0 / screen->logicalDotsPerInchY());
}

QString QtPlatform::getOpenFileName(const QString &filter, const QString &title, const QString &initialDir)
{
    if (!m_interactive)
        return HeadlessPlatform::getOpenFileName(filter, title, initialDir);
    QFileDialog dialog(m_parent, title, initialDir);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters(qtNameFilters(filter));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return openFileBuffer(dialog.selectedFiles());
}

namespace {
QClipboard *clipboardOrThrow()
{
    QClipboard *clipboard = qApp ? QGuiApplication::clipboard() : nullptr;
    if (!clipboard)
        throw controlError(err::CantOpenClipboard);
    return clipboard;
}
} // namespace

void QtPlatform::clearClipboard()
{
    HeadlessPlatform::clearClipboard();
    clipboardOrThrow()->clear();
}

void QtPlatform::setClipboardText(const QString &text)
{
    HeadlessPlatform::setClipboardText(text);
    clipboardOrThrow()->setText(text);
}

QString QtPlatform::clipboardText() const
{
    HeadlessPlatform::clipboardText(); // the availability check
    return clipboardOrThrow()->text();
}

void QtPlatform::setClipboardImage(const host::Picture &image)
{
    HeadlessPlatform::setClipboardImage(image);
    clipboardOrThrow()->setImage(toImage(image));
}

host::Picture QtPlatform::clipboardImage() const
{
    HeadlessPlatform::clipboardImage();
    return toPicture(clipboardOrThrow()->image());
}

bool QtPlatform::shellExecute(const QString &path, const QString &verb, const QString &directory)
{
    const bool recorded = HeadlessPlatform::shellExecute(path, verb, directory);
    if (!m_interactive)
        return recorded;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void QtPlatform::lockWindowUpdate(const Control *control)
{
    HeadlessPlatform::lockWindowUpdate(control);
    if (m_locked) {
        m_locked->setUpdatesEnabled(true);
        m_locked = nullptr;
    }
    if (control && m_widgetFinder) {
        m_locked = m_widgetFinder(control);
        if (m_locked)
            m_locked->setUpdatesEnabled(false);
    }
}

void QtPlatform::sendKeys(const QString &keys, bool wait)
{
    HeadlessPlatform::sendKeys(keys, wait);
    if (lastKeysHandled()) {
        if (wait)
            QCoreApplication::processEvents();
        return;
    }
    const QList<KeyStroke> strokes = parseSendKeys(keys);
    QWidget *target = m_keyTarget ? m_keyTarget() : nullptr;
    if (!target && qApp)
        target = QApplication::focusWidget();
    deliverKeys(target, strokes);
    if (wait)
        QCoreApplication::processEvents();
}

void QtPlatform::showHelpKeyword(const QString &word)
{
    HeadlessPlatform::showHelpKeyword(word);
    if (!m_interactive)
        return;
    // The MSDN Library's successor answers keyword searches on the web.
    QUrl url(QStringLiteral("https://learn.microsoft.com/search/"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("terms"), word);
    url.setQuery(query);
    QDesktopServices::openUrl(url);
}

void QtPlatform::shellAbout(const QString &title, const QString &extraText)
{
    HeadlessPlatform::shellAbout(title, extraText);
    if (!m_interactive)
        return;
    QMessageBox::about(m_parent, title, QStringLiteral("%1\n\n%2 %3").arg(extraText, QSysInfo::prettyProductName(),
                                                                          QSysInfo::kernelVersion()));
}

void QtPlatform::showModal(Form &form)
{
    HeadlessPlatform::showModal(form);
    if (!m_interactive || !form.visible())
        return;
    FormDialog dialog(form, m_parent);
    ModalScope modal;
    dialog.exec();
}

} // namespace gui
