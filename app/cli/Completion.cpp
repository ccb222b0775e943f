// completion bash: a bash completion script for vantrel-cli, made from the program's
// own tables (commands, their usage words, the global options, the page titles), so
// it completes what this build has. Control names after "page TITLE set" are asked
// from the program when completing (vantrel-cli page TITLE --names).
#include <array>
#include <iostream>
#include <regex>
#include <set>
#include <string>

#include "Command.h"
#include "registry/SheetPages.h"

namespace vantrel::cli {

namespace {

// A word of a usage line the user types as it stands (not a placeholder in capitals).
const std::regex kLiteralWord("^-{0,2}[a-z][a-z0-9-]*$");

// The literal words of a usage text: "[-o FILE.ucf] show | set NAME=VALUE" gives
// "-o show set".
std::string literalWords(std::string_view usage) {
    std::string text(usage), words;
    for (char& c : text)
        if (c == '[' || c == ']' || c == '|' || c == '\n') c = ' ';
    std::set<std::string> seen;
    size_t start = 0;
    while ((start = text.find_first_not_of(' ', start)) != std::string::npos) {
        const size_t end = std::min(text.find(' ', start), text.size());
        std::string word = text.substr(start, end - start);
        if (word.ends_with("...")) word.resize(word.size() - 3);
        if (std::regex_match(word, kLiteralWord) && seen.insert(word).second)
            words += (words.empty() ? "" : " ") + word;
        start = end;
    }
    return words;
}

// The global options that take a value, read from the usage line ("--port DEVICE",
// "--login user|service").
std::string valueOptions(std::string_view usage) {
    static const std::regex kTakesValue("(--[a-z-]+) [A-Za-z|]+");
    std::string options;
    const std::string text(usage);
    for (std::sregex_iterator it(text.begin(), text.end(), kTakesValue), end; it != end; ++it)
        options += (options.empty() ? "" : "|") + (*it)[1].str();
    return options;
}

std::string globalOptions(std::string_view usage) {
    std::string options;
    static const std::regex kOption("--[a-z-]+");
    const std::string text(usage);
    for (std::sregex_iterator it(text.begin(), text.end(), kOption), end; it != end; ++it)
        options += (options.empty() ? "" : " ") + it->str();
    return options;
}

// The script's fixed part: walks the words typed so far and offers what may come.
constexpr const char* kScriptBody = R"BASH(
# The words so far, without quotes or backslashes, for asking the program.
_vantrel_cli_plain() {
    local word=$1
    word=${word#[\"\']}
    word=${word%[\"\']}
    printf '%s' "${word//\\/}"
}

# Offers the lines of $1 that begin with the current word, quoted for the shell.
_vantrel_cli_offer() {
    local IFS=$'\n' line cur=$2
    local plain
    plain=$(_vantrel_cli_plain "$cur")
    COMPREPLY=()
    while IFS= read -r line; do
        [[ -n $line && $line == "$plain"* ]] || continue
        if [[ $cur == [\"\']* ]]; then
            COMPREPLY+=("${cur:0:1}$line${cur:0:1}")
        else
            COMPREPLY+=("$(printf '%q' "$line")")
        fi
    done <<<"$1"
}

_vantrel_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local program=${COMP_WORDS[0]} i=1 command="" word
    COMPREPLY=()
    # The global options before the command, and the values they take.
    while (( i < COMP_CWORD )); do
        word=${COMP_WORDS[i]}
        case $word in
            @VALUE_OPTIONS@) (( i += 2 )); continue ;;
            --*) (( i += 1 )); continue ;;
        esac
        command=$word
        break
    done
    case $prev in
        --port)
            # The ports present, as "vantrel-cli ports" lists them; else any file.
            COMPREPLY=($(compgen -W "$("$program" ports 2>/dev/null | sed 's/ -> .*//; s/: .*//')" -- "$cur"))
            (( ${#COMPREPLY[@]} )) || COMPREPLY=($(compgen -f -- "$cur"))
            return ;;
        --trace|-o|--from) COMPREPLY=($(compgen -f -- "$cur")); return ;;
        --login) COMPREPLY=($(compgen -W "user service" -- "$cur")); return ;;
        --password) return ;;
    esac
    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "@GLOBAL_OPTIONS@ --help" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "@COMMANDS@" -- "$cur"))
        fi
        return
    fi
    if [[ $command != page ]]; then
        local words
        case $command in
@COMMAND_WORDS@
        esac
        COMPREPLY=($(compgen -W "$words" -- "$cur"))
        (( ${#COMPREPLY[@]} )) || COMPREPLY=($(compgen -f -- "$cur"))
        return
    fi
    # page TITLE [--from FILE] STEP...: the title first, then steps and their names.
    local titles title="" start=$(( i + 1 ))
    titles=$(printf '%s\n' @TITLES@)
    if (( COMP_CWORD == start )); then
        _vantrel_cli_offer "$titles" "$cur"
        return
    fi
    title=$(_vantrel_cli_plain "${COMP_WORDS[start]}")
    case $prev in
        set)
            local names
            names=$("$program" page "$title" --names 2>/dev/null | sed 's/$/=/')
            compopt -o nospace 2>/dev/null
            _vantrel_cli_offer "$names" "$cur"
            return ;;
        goto) _vantrel_cli_offer "$titles" "$cur"; return ;;
        press) return ;;
        done) COMPREPLY=($(compgen -W "-o" -- "$cur")); return ;;
    esac
    if (( COMP_CWORD == start + 1 )); then
        COMPREPLY=($(compgen -W "--from --names @STEPS@" -- "$cur"))
    else
        COMPREPLY=($(compgen -W "@STEPS@" -- "$cur"))
    fi
}
complete -F _vantrel_cli vantrel-cli
)BASH";

// The steps of "page", as its usage names them.
constexpr const char* kPageSteps = "set press show send keep discard goto done";

void replace(std::string& text, const std::string& marker, const std::string& with) {
    for (size_t at; (at = text.find(marker)) != std::string::npos;)
        text.replace(at, marker.size(), with);
}

std::string quoted(const std::string& word) {
    std::string out = "'";
    for (char c : word)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

int runCompletion(Session&, std::span<const std::string> args) {
    if (args.size() != 1 || args[0] != "bash") return kUsage;
    std::string commands, commandWords;
    for (auto table : commandTables())
        for (const Command& command : table) {
            commands += (commands.empty() ? "" : " ") + std::string(command.name);
            if (command.name == "page") continue;
            commandWords += "            " + std::string(command.name) + ") words=\"" +
                            literalWords(command.usage) + "\" ;;\n";
        }
    if (!commandWords.empty()) commandWords.pop_back();
    std::string titles;
    for (const std::string& title : registry::pageTitles())
        titles += (titles.empty() ? "" : " ") + quoted(title);

    std::string script = kScriptBody;
    replace(script, "@VALUE_OPTIONS@", valueOptions(globalOptionsUsage()));
    replace(script, "@GLOBAL_OPTIONS@", globalOptions(globalOptionsUsage()));
    replace(script, "@COMMANDS@", commands);
    replace(script, "@COMMAND_WORDS@", commandWords);
    replace(script, "@TITLES@", titles);
    replace(script, "@STEPS@", kPageSteps);
    std::cout << "# bash completion for vantrel-cli (made by: vantrel-cli completion bash)"
              << script;
    return kSuccess;
}

constexpr std::array<Command, 1> kCommands = {{
    {"completion", "bash", runCompletion},
}};

}  // namespace

std::span<const Command> completionCommands() {
    return kCommands;
}

}  // namespace vantrel::cli
