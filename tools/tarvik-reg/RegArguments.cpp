#include "RegArguments.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace tarvik_reg {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A word is a switch only when it names one, so that paths such as
// /tmp/settings.reg stay arguments.
bool IsSwitch(const std::string& word) {
    if (word.size() < 2 || (word[0] != '/' && word[0] != '-')) return false;
    static const std::string kKnown = " v ve va t d f s y ? ";
    return kKnown.find(" " + Lower(word.substr(1)) + " ") != std::string::npos;
}

struct OperationRule {
    const char* name;
    std::size_t positional;
    const char* switches;  // the switches the operation accepts, space separated
};

constexpr OperationRule kRules[] = {
    {"query", 1, " v ve s "}, {"add", 1, " v ve t d f "}, {"delete", 1, " v ve va f "},
    {"export", 2, " y "},     {"import", 1, " "},
};

const OperationRule* FindRule(const std::string& operation) {
    for (const OperationRule& rule : kRules)
        if (operation == rule.name) return &rule;
    return nullptr;
}

// Stores one switch; false on a repeated, unknown or incomplete switch.
bool TakeSwitch(const std::string& name, const std::vector<std::string>& words, std::size_t& i,
                Arguments& arguments, std::string& error) {
    auto takeText = [&](std::optional<std::string>& field) {
        if (field || i + 1 >= words.size()) return false;
        field = words[++i];
        return true;
    };
    auto takeFlag = [](bool& field) { return !std::exchange(field, true); };
    bool ok = false;
    if (name == "v")
        ok = takeText(arguments.valueName);
    else if (name == "t")
        ok = takeText(arguments.type);
    else if (name == "d")
        ok = takeText(arguments.data);
    else if (name == "ve")
        ok = takeFlag(arguments.defaultValue);
    else if (name == "va")
        ok = takeFlag(arguments.allValues);
    else if (name == "f")
        ok = takeFlag(arguments.force);
    else if (name == "s")
        ok = takeFlag(arguments.recurse);
    else if (name == "y")
        ok = takeFlag(arguments.overwrite);
    if (!ok) error = "Invalid syntax: switch /" + name + " is repeated or incomplete.";
    return ok;
}

bool CheckCombination(const Arguments& arguments, std::string& error) {
    const int valueChoices =
        arguments.valueName.has_value() + arguments.defaultValue + arguments.allValues;
    if (valueChoices > 1) {
        error = "Invalid syntax: /v, /ve and /va exclude each other.";
        return false;
    }
    if ((arguments.type || arguments.data) && valueChoices == 0) {
        error = "Invalid syntax: /t and /d need /v or /ve.";
        return false;
    }
    return true;
}

}  // namespace

bool ParseArguments(const std::vector<std::string>& words, Arguments& arguments,
                    std::string& error) {
    arguments = Arguments{};
    if (words.empty()) {
        error = "Invalid syntax: an operation is needed (QUERY, ADD, DELETE, EXPORT, IMPORT).";
        return false;
    }
    arguments.operation = Lower(words[0]);
    if (arguments.operation == "/?" || arguments.operation == "-?") {
        arguments.help = true;
        return true;
    }
    const OperationRule* rule = FindRule(arguments.operation);
    if (!rule) {
        error = "Invalid syntax: unknown operation \"" + words[0] + "\".";
        return false;
    }
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!IsSwitch(word)) {
            arguments.positional.push_back(word);
            continue;
        }
        const std::string name = Lower(word.substr(1));
        if (name == "?") {
            arguments.help = true;
            return true;
        }
        if (std::string(rule->switches).find(" " + name + " ") == std::string::npos) {
            error = "Invalid syntax: " + word + " is not a switch of " + arguments.operation + ".";
            return false;
        }
        if (!TakeSwitch(name, words, i, arguments, error)) return false;
    }
    if (arguments.positional.size() != rule->positional) {
        error = "Invalid syntax: " + arguments.operation + " needs " +
                std::to_string(rule->positional) + " argument(s) besides its switches.";
        return false;
    }
    return CheckCombination(arguments, error);
}

}  // namespace tarvik_reg
