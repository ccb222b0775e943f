// report: a commissioning record of one actuator (or image file) as one
// self-contained HTML page, as JSON or as PDF, written whole or not at all.
#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <array>
#include <cstdlib>
#include <iostream>
#include <optional>

#include "CliUi.h"
#include "Command.h"
#include "SettingsSource.h"
#include "datalog/DatalogFile.h"
#include "image/FileReplace.h"
#include "service/Diagnostics.h"

namespace vantrel::cli {

namespace {

enum class Format { Html, Json, Pdf };

struct ReportArgs {
    std::string output;
    std::optional<std::string> from;
    std::optional<std::string> datalog;
    std::optional<std::string> compare;
    Format format = Format::Html;
};

struct FileDigest {
    std::string path;
    QString sha256;  // hexadecimal
    qint64 bytes = 0;
};

struct Report {
    QString generated;  // local date and time
    QString source;     // the file, or the port of the actuator
    settings::Identity identity;
    std::vector<settings::Setting> settings;
    std::optional<std::vector<std::pair<std::string, bool>>> diagnostics;
    std::optional<FileDigest> image;
    std::optional<FileDigest> datalog;
    std::optional<std::string> comparedWith;
    settings::Difference difference;
};

std::optional<ReportArgs> parseReportArgs(std::span<const std::string> args) {
    ReportArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size() && !args[i + 1].empty();
        if (arg == "--json" || arg == "--pdf") {
            if (parsed.format != Format::Html) return std::nullopt;
            parsed.format = arg == "--json" ? Format::Json : Format::Pdf;
        } else if (!hasValue) {
            return std::nullopt;
        } else if (arg == "-o") {
            parsed.output = args[++i];
        } else if (arg == "--from") {
            parsed.from = args[++i];
        } else if (arg == "--datalog") {
            parsed.datalog = args[++i];
        } else if (arg == "--compare") {
            parsed.compare = args[++i];
        } else {
            return std::nullopt;
        }
    }
    if (parsed.output.empty()) return std::nullopt;
    return parsed;
}

std::optional<FileDigest> digestOf(const std::string& path) {
    QFile file(fromLocal(path));
    if (!file.open(QIODevice::ReadOnly)) {
        std::cerr << "vantrel-cli: cannot read " << path << '\n';
        return std::nullopt;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file)) {
        std::cerr << "vantrel-cli: cannot read " << path << '\n';
        return std::nullopt;
    }
    return FileDigest{path, QString::fromLatin1(hash.result().toHex()), file.size()};
}

// The fifteen indicators as the Diagnostics screen's "Update" shows them.
std::optional<std::vector<std::pair<std::string, bool>>> readDiagnostics(Session& session) {
    service::CDiagnostics screen(session.context);
    session.ui.run(screen);
    const int errorsBefore = session.ui.errorCount();
    screen.click("Update");
    if (!screen.portOpened() || session.ui.errorCount() != errorsBefore) return std::nullopt;
    std::vector<std::pair<std::string, bool>> lamps;
    for (const char* text : service::kIndicatorTexts)
        lamps.emplace_back(text, screen.get<ui::Lamp>(text).lit);
    return lamps;
}

// Text for the page: a control character (of an unset identity, say) has no place
// in HTML, so it shows as the replacement character; line feeds and tabs stay.
QString escaped(const std::string& text) {
    QString shown = fromLocal(text);
    for (QChar& c : shown)
        if (c.category() == QChar::Other_Control && c != u'\n' && c != u'\t')
            c = QChar::ReplacementCharacter;
    return shown.toHtmlEscaped();
}

QString row(std::initializer_list<QString> cells, const char* rowClass = nullptr) {
    QString html = rowClass ? QString("<tr class=\"%1\">").arg(rowClass) : QString("<tr>");
    for (const QString& cell : cells)
        html += "<td>" + cell + "</td>";
    return html + "</tr>\n";
}

QString fileRows(const char* what, const std::optional<FileDigest>& digest) {
    if (!digest) return {};
    return row({what, escaped(digest->path), QString::number(digest->bytes),
                "<code>" + digest->sha256 + "</code>"},
               "file");
}

// One self-contained page: no script, no link to anything outside it, laid out
// for A4 when printed.
QString reportHtml(const Report& report) {
    QString html =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
        "<title>Commissioning report</title>\n<style>\n"
        "@page { size: A4; margin: 15mm; }\n"
        "body { font-family: sans-serif; font-size: 10pt; }\n"
        "table { border-collapse: collapse; width: 100%; margin-bottom: 12pt; }\n"
        "td, th { border: 1px solid #888; padding: 2pt 4pt; text-align: left; }\n"
        "h2 { page-break-after: avoid; } tr { page-break-inside: avoid; }\n"
        "</style></head><body>\n<h1>Commissioning report</h1>\n";
    html += "<table id=\"record\">\n" + row({"Date and time", report.generated}) +
            row({"Read from", report.source.toHtmlEscaped()}) + "</table>\n";

    const settings::Identity& id = report.identity;
    html += "<h2>Identity</h2>\n<table id=\"identity\">\n" +
            row({"Software version", escaped(id.softwareVersion)}) +
            row({"Generation", escaped(id.generation)}) +
            row({"Option card", escaped(id.optionCard.empty() ? "none" : id.optionCard)}) +
            row({"Part-turn unit", id.partTurn ? "yes" : "no"});
    for (const auto& [name, text] : id.identification)
        html += row({escaped(name), escaped(text)});
    html += "</table>\n";

    html +=
        "<h2>Files</h2>\n<table id=\"files\">\n<tr><th>File</th><th>Path</th><th>Bytes</th>"
        "<th>SHA-256</th></tr>\n" +
        fileRows("Image", report.image) + fileRows("Datalogger", report.datalog) + "</table>\n";
    // The datalogger file's own summary (header, slots) joins here once the
    // datalogger layer offers one; until then the report records its digest only.

    if (report.diagnostics) {
        html += "<h2>Diagnostics</h2>\n<table id=\"diagnostics\">\n";
        for (const auto& [text, lit] : *report.diagnostics)
            html += row({escaped(text), lit ? "on" : "off"});
        html += "</table>\n";
    }

    html += "<h2>Settings</h2>\n";
    std::string page;
    for (const settings::Setting& setting : report.settings) {
        if (setting.page != page) {
            if (!page.empty()) html += "</table>\n";
            page = setting.page;
            html += "<h3>" + escaped(page) + "</h3>\n<table class=\"settings\">\n";
        }
        html += row({escaped(setting.name), escaped(setting.shown())}, "setting");
    }
    if (!page.empty()) html += "</table>\n";

    if (report.comparedWith) {
        html += "<h2>Differences from " + escaped(*report.comparedWith) + "</h2>\n";
        const std::vector<std::string> lines = settings::differenceLines(report.difference);
        if (lines.empty()) html += "<p>None.</p>\n";
        html += "<table id=\"differences\">\n";
        for (const auto& difference : report.difference.settings)
            html += row({escaped(difference.key), escaped(difference.a), escaped(difference.b)},
                        "difference");
        for (std::size_t i = report.difference.settings.size(); i < lines.size(); ++i)
            html += row({escaped(lines[i])}, "byte");
        html += "</table>\n";
    }
    return html + "</body></html>\n";
}

QJsonObject digestJson(const std::optional<FileDigest>& digest) {
    if (!digest) return {};
    return QJsonObject{
        {"path", fromLocal(digest->path)}, {"bytes", digest->bytes}, {"sha256", digest->sha256}};
}

QByteArray reportJson(const Report& report) {
    QJsonObject root{{"generated", report.generated},
                     {"source", report.source},
                     {"identity", identityJson(report.identity)},
                     {"settings", settingsJson(report.settings)}};
    if (report.image) root.insert("image", digestJson(report.image));
    if (report.datalog) root.insert("datalog", digestJson(report.datalog));
    if (report.diagnostics) {
        QJsonObject lamps;
        for (const auto& [text, lit] : *report.diagnostics)
            lamps.insert(fromLocal(text), lit);
        root.insert("diagnostics", lamps);
    }
    if (report.comparedWith) {
        QJsonObject difference = differenceJson(report.difference);
        difference.insert("file", fromLocal(*report.comparedWith));
        root.insert("differences", difference);
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

// The page laid out on A4 by Qt's own text layout and PDF writer. Text layout needs
// a GUI application; the command line has no screen, so it uses the offscreen one.
QByteArray reportPdf(const Report& report) {
    std::optional<QGuiApplication> application;
    static int argc = 1;
    static char name[] = "vantrel-cli";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        application.emplace(argc, argv);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setTitle("Commissioning report");
        QTextDocument document;
        document.setHtml(reportHtml(report));
        document.print(&writer);
    }
    return bytes;
}

// report -o REPORT [--from FILE.ucf] [--datalog FILE.dfg] [--compare FILE.ucf]
//        [--json | --pdf]
int runReport(Session& session, std::span<const std::string> args) {
    const std::optional<ReportArgs> parsed = parseReportArgs(args);
    if (!parsed) return kUsage;
    if (!isOutputFileName(parsed->output, {})) return kUsage;

    Report report;
    report.generated = QDateTime::currentDateTime().toString(Qt::ISODate);
    if (parsed->datalog) {
        if (!(report.datalog = digestOf(*parsed->datalog))) return kFailed;
        // The summary of its header and slots joins the report once the datalogger
        // layer offers one; until then a file of another size is refused here.
        if (report.datalog->bytes != datalog::kFileBytes) {
            std::cerr << "vantrel-cli: " << *parsed->datalog << " is not a datalogger file ("
                      << report.datalog->bytes << " bytes, a datalogger file has "
                      << datalog::kFileBytes << ")\n";
            return kFailed;
        }
    }
    if (parsed->from && !(report.image = digestOf(*parsed->from))) return kFailed;

    shell::Context& context = session.context;
    std::optional<image::ConfigImage> compared;
    std::vector<settings::Setting> comparedSettings;
    if (parsed->compare) {
        if (!fetchSettingsImage(session, parsed->compare)) return kFailed;
        compared = context.image;
        comparedSettings = settings::readSettings(context);
        report.comparedWith = *parsed->compare;
    }
    if (!fetchSettingsImage(session, parsed->from)) return kFailed;
    report.source = fromLocal(parsed->from ? *parsed->from : "the actuator on " + context.portName);
    report.settings = settings::readSettings(context);
    report.identity = settings::readIdentity(context, report.settings);
    if (!parsed->from && !(report.diagnostics = readDiagnostics(session))) return kFailed;
    if (compared)
        report.difference =
            settings::compare(*compared, comparedSettings, context.image, report.settings);

    QByteArray bytes;
    switch (parsed->format) {
        case Format::Html:
            bytes = reportHtml(report).toUtf8();
            break;
        case Format::Json:
            bytes = reportJson(report);
            break;
        case Format::Pdf:
            bytes = reportPdf(report);
            break;
    }
    if (!image::replaceFile(parsed->output, std::string_view(bytes.constData(), bytes.size()))) {
        std::cerr << "vantrel-cli: the report could not be written to " << parsed->output
                  << "; nothing written\n";
        return kFailed;
    }
    return kSuccess;
}

constexpr std::array<Command, 1> kCommands = {{
    {"report",
     "-o REPORT [--from FILE.ucf] [--datalog FILE.dfg] [--compare FILE.ucf] [--json | --pdf]",
     runReport},
}};

}  // namespace

std::span<const Command> reportCommands() {
    return kCommands;
}

}  // namespace vantrel::cli
