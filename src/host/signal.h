#pragma once
#include <functional>
#include <memory>
#include <algorithm>
#include <vector>

namespace host {

/// A connection to an event source; dropping it unsubscribes (like `Set x = Nothing`
/// on a WithEvents variable).
class Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> disconnect) : m_disconnect(std::move(disconnect)) {}
    Subscription(const Subscription &) = delete;
    Subscription &operator=(const Subscription &) = delete;
    Subscription(Subscription &&other) noexcept : m_disconnect(std::move(other.m_disconnect)) { other.m_disconnect = nullptr; }
    Subscription &operator=(Subscription &&other) noexcept
    {
        if (this != &other) {
            reset();
            m_disconnect = std::move(other.m_disconnect);
            other.m_disconnect = nullptr;
        }
        return *this;
    }
    ~Subscription() { reset(); }
    void reset()
    {
        if (m_disconnect) {
            auto d = std::move(m_disconnect);
            m_disconnect = nullptr;
            d();
        }
    }
    bool connected() const { return static_cast<bool>(m_disconnect); }

private:
    std::function<void()> m_disconnect;
};

/// An event of a host object. Handlers run synchronously in subscription order;
/// a handler may subscribe or unsubscribe others while the event is raised.
template <class... Args>
class Signal {
public:
    using Handler = std::function<void(Args...)>;

    Signal() : m_state(std::make_shared<State>()) {}
    Signal(const Signal &) = delete;
    Signal &operator=(const Signal &) = delete;

    [[nodiscard]] Subscription connect(Handler handler)
    {
        const int id = ++m_state->nextId;
        m_state->slots.push_back({id, std::make_shared<Handler>(std::move(handler))});
        std::weak_ptr<State> weak = m_state;
        return Subscription([weak, id] {
            if (auto s = weak.lock())
                std::erase_if(s->slots, [id](const Slot &slot) { return slot.id == id; });
        });
    }

    template <class... A>
    void raise(A &&...args) const
    {
        const auto snapshot = m_state->slots; // handlers may change the list
        for (const Slot &slot : snapshot) {
            const bool stillConnected = std::any_of(m_state->slots.begin(), m_state->slots.end(),
                                                    [&](const Slot &s) { return s.id == slot.id; });
            if (stillConnected)
                (*slot.handler)(args...);
        }
    }

    std::size_t handlerCount() const { return m_state->slots.size(); }

private:
    struct Slot {
        int id;
        std::shared_ptr<Handler> handler;
    };
    struct State {
        int nextId = 0;
        std::vector<Slot> slots;
    };
    std::shared_ptr<State> m_state;
};

} // namespace host
