#pragma once
// One application-wide "a controller operation is running" state. An upload, a download, a
// manual send or an editor action that talks to the controller holds it for its whole run;
// every other command that uses the port, the transmitter or the model asks it first and is
// disabled or refused meanwhile. Windows subscribe to enable and disable their commands.

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vm880 {

class Prompts;

inline constexpr const char* kBusyTitle = "VM880 Busy";

class BusyState {
public:
    // Held for the lifetime of the object when `held()`; released on every way out.
    class Hold {
    public:
        Hold() = default;
        Hold(Hold&& other) noexcept : state_(std::exchange(other.state_, nullptr)) {}
        Hold& operator=(Hold&& other) noexcept
        {
            if (this != &other) {
                Release();
                state_ = std::exchange(other.state_, nullptr);
            }
            return *this;
        }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        ~Hold() { Release(); }

        bool held() const { return state_ != nullptr; }
        explicit operator bool() const { return held(); }
        void Release()
        {
            if (state_)
                std::exchange(state_, nullptr)->set({});
        }

    private:
        friend class BusyState;
        explicit Hold(BusyState* state) : state_(state) {}
        BusyState* state_ = nullptr;
    };

    bool Busy() const { return !activity_.empty(); }
    // What runs now ("Upload", "Download", ...); empty when idle.
    const std::string& Activity() const { return activity_; }

    // Takes the state for `activity`; an empty hold when another operation runs.
    [[nodiscard]] Hold TryHold(std::string activity)
    {
        if (Busy() || activity.empty())
            return Hold{};
        set(std::move(activity));
        return Hold{this};
    }

    // Called with the new state whenever it changes; the number returned ends it.
    int Subscribe(std::function<void(bool busy)> listener)
    {
        listeners_.push_back({++lastId_, std::move(listener)});
        return lastId_;
    }
    // A window that goes away before the state stops listening.
    void Unsubscribe(int id)
    {
        std::erase_if(listeners_, [id](const Listener& l) { return l.id == id; });
    }

private:
    void set(std::string activity)
    {
        activity_ = std::move(activity);
        // A copy: a listener may subscribe or unsubscribe while it is told.
        const std::vector<Listener> listeners = listeners_;
        for (const Listener& listener : listeners)
            listener.call(Busy());
    }

    struct Listener {
        int id;
        std::function<void(bool)> call;
    };
    std::string activity_;
    std::vector<Listener> listeners_;
    int lastId_ = 0;
};

// The refusal shown to the operator while `busy` is held: true when it was refused.
bool RefuseWhileBusy(const BusyState& busy, Prompts& prompts);

} // namespace vm880
