#include "ide/shell/shell_impl.h"

namespace ide {

using host::Error;
using host::Ptr;
namespace err = host::err;

// ---- windows ------------------------------------------------------------------

void WindowImpl::setVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    if (!visible) {
        if (auto windows = m_windows.lock(); windows && windows->active().get() == this)
            windows->setActive(nullptr);
    }
    m_state->notify();
}

void WindowImpl::setFocus()
{
    m_state->seam("Window.SetFocus");
    m_visible = true;
    if (auto windows = m_windows.lock())
        windows->setActive(shared_from_this());
    m_state->notify();
}

void WindowImpl::close()
{
    m_visible = false;
    if (auto windows = m_windows.lock()) {
        if (windows->active().get() == this)
            windows->setActive(nullptr);
        // The IDE's own windows only hide; code, designer and tool windows go away.
        if (m_type == host::WindowType::CodeWindow || m_type == host::WindowType::Designer)
            windows->removeWindow(shared_from_this());
    }
    m_state->notify();
}

Ptr<host::Windows> WindowImpl::collection() const { return m_windows.lock(); }

Ptr<host::Window> WindowsImpl::item(int index) const
{
    if (index < 1 || index > int(m_items.size()))
        throw Error(err::SubscriptOutOfRange);
    return m_items[std::size_t(index - 1)];
}

Ptr<host::Window> WindowsImpl::item(const QString &caption) const
{
    for (const auto &w : m_items) {
        if (w->caption().compare(caption, Qt::CaseInsensitive) == 0)
            return w;
    }
    throw Error(err::SubscriptOutOfRange);
}

Ptr<WindowImpl> WindowsImpl::add(const QString &caption, host::WindowType type)
{
    auto window = std::make_shared<WindowImpl>(weak_from_this(), m_state, caption, type);
    m_items.push_back(window);
    return window;
}

void WindowsImpl::removeWindow(const Ptr<WindowImpl> &window)
{
    std::erase(m_items, window);
    if (auto vbe = m_state->vbe.lock()) {
        for (const auto &pane : vbe->openPanes()) {
            if (pane->window().get() == window.get()) {
                vbe->paneClosed(pane.get());
                break;
            }
        }
    }
}

Ptr<host::Window> WindowsImpl::createToolWindow(const Ptr<host::AddIn> &addIn, const QString &progId,
                                                const QString &caption, const QString &guidPosition,
                                                Ptr<host::ComObject> &docObj)
{
    m_state->seam("Windows.CreateToolWindow");
    auto factory = m_state->documentFactories.constFind(progId);
    if (factory == m_state->documentFactories.constEnd())
        throw Error(429, QStringLiteral("ActiveX コンポーネントはオブジェクトを作成できません。 (%1)").arg(progId));
    auto window = add(caption, host::WindowType::ToolWindow);
    window->guidPosition = guidPosition;
    window->document = (*factory)();
    docObj = window->document;
    m_state->notify();
    return window;
}

// ---- code panes ---------------------------------------------------------------

Ptr<host::Window> CodePaneImpl::window() const
{
    if (auto w = m_window.lock())
        return w;
    auto module = m_module.lock();
    auto vbe = m_state->vbe.lock();
    if (!module || !vbe)
        return nullptr;
    auto component = std::dynamic_pointer_cast<ComponentImpl>(module->parent());
    const QString caption = QStringLiteral("%1 - %2 (ｺｰﾄﾞ)").arg(component ? component->projectName() : QString(),
                                                              module->name());
    auto w = vbe->windowList()->add(caption, host::WindowType::CodeWindow);
    w->component = component;
    m_window = w;
    vbe->paneOpened(std::const_pointer_cast<CodePaneImpl>(shared_from_this()));
    return w;
}

void CodePaneImpl::show()
{
    m_state->seam("CodePane.Show");
    auto w = std::static_pointer_cast<WindowImpl>(window());
    if (!w)
        throw Error(err::ObjectNotSet);
    w->setVisible(true);
    w->setFocus();
    if (auto vbe = m_state->vbe.lock())
        vbe->setActiveCodePane(shared_from_this());
    m_state->notify();
}

void CodePaneImpl::getSelection(int &startLine, int &startCol, int &endLine, int &endCol) const
{
    startLine = m_sl;
    startCol = m_sc;
    endLine = m_el;
    endCol = m_ec;
}

void CodePaneImpl::setSelection(int startLine, int startCol, int endLine, int endCol)
{
    m_state->seam("CodePane.SetSelection");
    auto module = m_module.lock();
    if (!module)
        throw Error(err::ObjectNotSet);
    const auto &code = module->code();
    const int count = code.countOfLines();
    auto clipLine = [&](int line) { return count == 0 ? 1 : std::clamp(line, 1, count); };
    auto clipCol = [&](int line, int col) {
        const int len = count == 0 ? 0 : int(code.lineLength(line));
        return std::clamp(col, 1, len + 1);
    };
    m_sl = clipLine(startLine);
    m_el = clipLine(endLine);
    m_sc = clipCol(m_sl, startCol);
    m_ec = clipCol(m_el, endCol);
    if (m_el < m_sl || (m_el == m_sl && m_ec < m_sc)) {
        std::swap(m_sl, m_el);
        std::swap(m_sc, m_ec);
    }
    // Scroll the selection into view as the pane would.
    if (m_sl < m_topLine || m_sl >= m_topLine + m_visibleLines)
        m_topLine = std::max(1, m_sl - m_visibleLines / 3);
    m_state->notify();
}

void CodePaneImpl::setCountOfVisibleLines(int lines)
{
    const bool inView = m_sl >= m_topLine && m_sl < m_topLine + m_visibleLines;
    m_visibleLines = std::max(1, lines);
    if (inView && m_sl >= m_topLine + m_visibleLines) {
        m_topLine = std::max(1, m_sl - m_visibleLines / 3);
        m_state->notify();
    }
}

void CodePaneImpl::setTopLine(int line)
{
    auto module = m_module.lock();
    const int count = module ? module->code().countOfLines() : 1;
    m_topLine = std::clamp(line, 1, std::max(1, count));
    m_state->notify();
}

int CodePanesImpl::count() const
{
    auto vbe = m_vbe.lock();
    return vbe ? int(vbe->openPanes().size()) : 0;
}

Ptr<host::CodePane> CodePanesImpl::item(int index) const
{
    auto vbe = m_vbe.lock();
    if (!vbe || index < 1 || index > int(vbe->openPanes().size()))
        throw Error(err::SubscriptOutOfRange);
    return vbe->openPanes()[std::size_t(index - 1)];
}

Ptr<host::CodePane> CodePanesImpl::current() const
{
    auto vbe = m_vbe.lock();
    return vbe ? vbe->activeCodePane() : nullptr;
}

} // namespace ide
