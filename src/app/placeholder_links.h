#pragma once
// TEMPORARY: stands in for the controller links until the serial and tone back-ends of the
// link interface are wired into the application. Every operation is refused with a message,
// so an editor action can never report success without having talked to the controller.

#include "link/controller_link.h"
#include "interfaces/prompts.h"

namespace vm880 {

class PlaceholderLinks : public ControllerLinks, private ControllerLink {
public:
    explicit PlaceholderLinks(Prompts& prompts) : prompts_(prompts) {}
    ControllerLink& Current() override { return *this; }

private:
    LinkKind Kind() const override { return LinkKind::Serial; }
    bool Open() override
    {
        prompts_.Message(style::OkOnly + style::Exclamation, "Controller Link",
                         "This version cannot send commands to the controller from the editors yet.");
        return false;
    }
    bool Unlock(int) override { return false; }
    bool Send(const LinkCommand&) override { return false; }
    bool Lock() override { return false; }
    void Release() override {}

    Prompts& prompts_;
};

} // namespace vm880
