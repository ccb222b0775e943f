// datalog extract -o FILE.dfg, datalog reset: the "Extract Datalogger File" screen
// driven by its buttons. The status line goes to standard error as it changes: on
// a terminal as one line updated in place, otherwise one line per text.
// datalog info FILE.dfg: what a datalogger file holds and the health of its slots.
#include <unistd.h>

#include <array>
#include <fstream>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

#include "CliUi.h"
#include "Command.h"
#include "datalog/DatalogData.h"
#include "datalog/DatalogFile.h"
#include "datalog/DatalogSummary.h"
#include "datalog/Dataloggermenu.h"

namespace vantrel::cli {

namespace {

constexpr const char* kReturnAndClear = "\r\033[K";
constexpr std::string_view kBlockErrorSuffix = " block error";
constexpr std::string_view kDatalogExtension = "dfg";

// Standard error with a progress line that is rewritten in place. Anything else
// written while the line is showing starts on a line of its own, so messages
// shown during the extraction are not glued to the progress text.
class ProgressLine : private std::streambuf {
public:
    explicit ProgressLine(bool inPlace) : inPlace_(inPlace), target_(std::cerr.rdbuf()) {
        if (inPlace_) std::cerr.rdbuf(this);
    }
    ~ProgressLine() override {
        if (!inPlace_) return;
        std::cerr.flush();
        std::cerr.rdbuf(target_);
        endLine();
    }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // Shows the text in place of the previous one; a kept text stays on its line.
    void show(const std::string& text, bool keep) {
        if (!inPlace_) {
            std::cerr << text << std::endl;
            return;
        }
        std::cerr.flush();
        const std::string line = kReturnAndClear + text;
        target_->sputn(line.data(), static_cast<std::streamsize>(line.size()));
        target_->pubsync();
        showing_ = true;
        if (keep) endLine();
    }

private:
    void endLine() {
        if (!showing_) return;
        target_->sputc('\n');
        target_->pubsync();
        showing_ = false;
    }
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        endLine();
        return target_->sputc(traits_type::to_char_type(c));
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        if (count > 0) endLine();
        return target_->sputn(text, count);
    }
    int sync() override { return target_->pubsync(); }

    bool inPlace_;
    std::streambuf* target_;
    bool showing_ = false;
};

// "5, 6, 50-128": block numbers, runs of three or more as their ends.
std::string blockRanges(const std::vector<int>& numbers) {
    constexpr size_t kShortestRange = 3;
    std::string text;
    for (size_t i = 0; i < numbers.size();) {
        size_t end = i + 1;
        while (end < numbers.size() && numbers[end] == numbers[end - 1] + 1)
            ++end;
        const auto add = [&text](const std::string& part) {
            text += (text.empty() ? "" : ", ") + part;
        };
        if (end - i >= kShortestRange) {
            add(std::to_string(numbers[i]) + "-" + std::to_string(numbers[end - 1]));
        } else {
            for (size_t k = i; k < end; ++k)
                add(std::to_string(numbers[k]));
        }
        i = end;
    }
    return text;
}

// The one line that tells a file with slots that are not intact from a good one.
std::string notIntactLine(const std::vector<int>& blocks) {
    const bool one = blocks.size() == 1;
    return "vantrel-cli: " + std::to_string(blocks.size()) + " of " +
           std::to_string(datalog::kSlotCount) + (one ? " slots is" : " slots are") +
           " not intact, " + (one ? "block " : "blocks ") + blockRanges(blocks);
}

int runExtract(Session& session, std::span<const std::string> args) {
    if (args.size() != 2 || args[0] != "-o" || !isOutputFileName(args[1], kDatalogExtension))
        return kUsage;
    datalog::CDataloggermenu screen(session.context);
    session.ui.run(screen);

    ProgressLine progress(::isatty(STDERR_FILENO) == 1);
    session.ui.onRefresh = [&] {
        // A block error is a result, not progress: it keeps a line of its own.
        const std::string& text = screen.status();
        progress.show(text, text.ends_with(kBlockErrorSuffix));
    };
    session.ui.setFileAnswer(args[1]);
    screen.click("Extract");
    session.ui.onRefresh = nullptr;
    if (screen.lastOutcome() != datalog::CDataloggermenu::Outcome::Saved) return kFailed;
    if (screen.badBlocks().empty()) return kSuccess;
    std::cerr << notIntactLine(screen.badBlocks()) << " (the file is saved)" << std::endl;
    return kFailed;
}

void printSummary(const datalog::DatalogSummary& summary, std::ostream& out) {
    out << "Clock difference: " << summary.clockDifference
        << (summary.actuatorAhead ? " (the actuator's clock was ahead)" : "") << '\n'
        << "Actuator clock: " << summary.actuatorClock << '\n'
        << "File name: " << summary.fileName << '\n'
        << "Date and time: " << summary.dateTime << '\n'
        << "Software version: " << summary.versionText << '\n'
        << "Generation: " << (summary.zr2 ? "ZR2" : "Pro") << '\n';
    for (const datalog::CarriedSetting& setting : summary.settings) {
        out << setting.page << " / " << setting.name << ": " << setting.value;
        if (setting.value == "?") out << " (raw " << setting.raw << ')';
        out << '\n';
    }
    for (const datalog::CarriedByte& byte : summary.otherBytes)
        out << "Register " << byte.address << ": " << static_cast<int>(byte.value) << '\n';
    out << "Slots:";
    const char* separator = " ";
    for (const auto health : {datalog::SlotHealth::Intact, datalog::SlotHealth::CrcWrong,
                              datalog::SlotHealth::WrongNumber, datalog::SlotHealth::Empty}) {
        out << separator << summary.count(health) << ' ' << datalog::healthName(health) << " ("
            << datalog::healthMark(health) << ')';
        separator = ", ";
    }
    out << "\nBlock map: " << summary.blockMap() << '\n';
}

int runInfo(Session&, std::span<const std::string> args) {
    if (args.size() != 1) return kUsage;
    std::ifstream in(args[0], std::ios::binary);
    if (!in) {
        std::cerr << "vantrel-cli: cannot read " << args[0] << '\n';
        return kFailed;
    }
    // One byte more than a datalogger file tells a longer file without reading it all.
    std::vector<uint8_t> bytes(datalog::kFileBytes + 1);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) {
        std::cerr << "vantrel-cli: cannot read " << args[0] << '\n';
        return kFailed;
    }
    bytes.resize(static_cast<size_t>(in.gcount()));
    std::string problem;
    const auto summary = datalog::summarize(bytes, problem);
    if (!summary) {
        std::cerr << "vantrel-cli: " << args[0] << " is not a datalogger file: " << problem << '\n';
        return kInputErrorTold;
    }
    printSummary(*summary, std::cout);
    std::cout.flush();
    if (summary->allIntact()) return kSuccess;
    std::cerr << notIntactLine(summary->blocksNotIntact()) << '\n';
    return kFailed;
}

int runReset(Session& session) {
    datalog::CDataloggermenu screen(session.context);
    session.ui.run(screen);
    screen.click("Reset Datalogger");
    return session.ui.errorCount() > 0 ? kFailed : kSuccess;
}

int runDatalog(Session& session, std::span<const std::string> args) {
    if (args.empty()) return kUsage;
    if (args[0] == "extract") return runExtract(session, args.subspan(1));
    if (args[0] == "reset" && args.size() == 1) return runReset(session);
    if (args[0] == "info") return runInfo(session, args.subspan(1));
    return kUsage;
}

constexpr std::array<Command, 1> kCommands = {{
    {"datalog", "extract -o FILE.dfg | reset | info FILE.dfg", runDatalog},
}};

}  // namespace

std::span<const Command> datalogCommands() {
    return kCommands;
}

}  // namespace vantrel::cli
