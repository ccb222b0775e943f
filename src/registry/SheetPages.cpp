#include "registry/SheetPages.h"

#include <functional>
#include <map>

#include "options/BusMk2Page1.h"
#include "options/BusMk2Page2.h"
#include "options/Modbus.h"
#include "options/PartTurn.h"
#include "options/Profibus.h"
#include "options/Tracklin.h"
#include "options/Vexlink1.h"
#include "options/Vexlink2.h"
#include "pages/ConfigSheet.h"
#include "pages/Contacts.h"
#include "pages/ControlPage.h"
#include "pages/Esd.h"
#include "pages/Misc.h"
#include "pages/Protection.h"
#include "pages/ServiceNotes.h"
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
        {pages::kContacts, &make<pages::CConfTab3>},
        {pages::kProtection, &make<pages::CConfTab4>},
        {pages::kEsd, &make<pages::CConfTab5>},
        {pages::kControl, &make<pages::CConfTab8>},
        {pages::kServiceNotes, &make<pages::CConfTab6>},
        {pages::kMisc, &make<pages::CConfTab7>},
        {pages::kVexlink1, &make<options::COptTab1>},
        {pages::kVexlink2, &make<options::COptTab2>},
        {pages::kBusMk2Page1, &make<options::COptTabBus1>},
        {pages::kBusMk2Page2, &make<options::COptTabBus2>},
        {pages::kModbus, &make<options::CModbusTab>},
        {pages::kProfibus, &make<options::CProfibusTab>},
        {pages::kTracklin, &make<options::CTracklin>},
        {pages::kPartTurn, &make<options::CZrtTab>},
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

std::vector<std::string> pageTitles() {
    std::vector<std::string> titles;
    for (const auto& entry : makers())
        titles.push_back(entry.first);
    return titles;
}

}  // namespace vantrel::registry
