#pragma once
// A controller link for tests: records every call in order and answers as scripted.

#include "link/controller_link.h"

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vm880::test {

class RecordingControllerLink : public ControllerLink {
public:
    explicit RecordingControllerLink(LinkKind kind = LinkKind::Serial) : kind_(kind) {}

    LinkKind Kind() const override { return kind_; }
    bool Open(std::optional<std::int64_t> keyedSettleMs = std::nullopt) override
    {
        calls.push_back("open");
        settleAsked = keyedSettleMs;
        open = openSucceeds;
        return open;
    }
    bool Unlock(int port) override
    {
        calls.push_back("unlock " + std::to_string(port));
        return true;
    }
    bool Send(const LinkCommand& command) override
    {
        const int n = static_cast<int>(sent.size()) + 1;
        sent.push_back(command);
        calls.push_back("send " + (kind_ == LinkKind::Serial ? command.line : command.keys));
        if (onSend)
            onSend(n);
        return !failSend.contains(n);
    }
    bool Lock() override
    {
        calls.push_back("lock");
        return true;
    }
    bool Release() override
    {
        calls.push_back("release");
        open = false;
        return true;
    }
    void Cancel() override { calls.push_back("cancel"); }

    bool openSucceeds = true;
    std::set<int> failSend; // 1-based numbers of the sends that fail
    std::function<void(int n)> onSend; // runs on the n-th send (1-based), before it answers
    bool open = false;
    std::optional<std::int64_t> settleAsked; // the keyed wait the last Open was given
    std::vector<LinkCommand> sent;
    std::vector<std::string> calls;

private:
    LinkKind kind_;
};

// The links of an action that always runs on one link.
struct OneLink : ControllerLinks {
    explicit OneLink(ControllerLink& link) : link(link) {}
    ControllerLink& Current() override { return link; }
    ControllerLink& link;
};

} // namespace vm880::test
