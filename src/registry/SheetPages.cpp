#include "registry/SheetPages.h"

#include <functional>
#include <map>

#include "pages/ConfigSheet.h"
#include "pages/StopSettings.h"
#include "service/Multiport.h"
#include "service/SinglePhase.h"

namespace vantrel::registry {

namespace {

template <class Page>
std::unique_ptr<ui::Screen> make(shell::Context& context) {
    return std::make_unique<Page>(context);
}

using Maker = std::unique_ptr<ui::Screen> (*)(shell::Context&);

const std::map<std::string, Maker>& makers() {
    static const std::map<std::string, Maker> table = {
        {pages::kStopSettings, &make<pages::CConfTab1>},
        {pages::kMultiport, &make<service::CMultiport>},
        {pages::kSinglePhase, &make<service::CSinglePhase>},
    };
    return table;
}

}  // namespace

std::unique_ptr<ui::Screen> makePage(shell::Context& context, const std::string& title) {
    auto it = makers().find(title);
    return it == makers().end() ? nullptr : it->second(context);
}

}  // namespace vantrel::registry
