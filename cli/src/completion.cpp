#include "completion.h"

#include "electronics.h"

namespace probelink_cli {
namespace {

// The long options of `app` a person may type (the hidden ones left out),
// or only those a command takes from it.
std::string OptionWords(const CLI::App& app, bool inherited = false) {
  std::string words;
  for (const CLI::Option* option : app.get_options()) {
    if (option->get_group().empty()) continue;
    if (inherited && (option == app.get_help_ptr() || option == app.get_version_ptr())) continue;
    for (const std::string& name : option->get_lnames()) words += " --" + name;
  }
  return words;
}

std::string PortWords() {
  std::string words;
  for (int com = kFirstCom; com <= kLastCom; ++com) words += " COM" + std::to_string(com);
  return words;
}

}  // namespace

std::string BashCompletion(CLI::App& app) {
  std::string names, cases;
  for (const CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
    const std::string& name = command->get_name();
    names += (names.empty() ? "" : "|") + name;
    const bool takesPort = command->get_option_no_throw("port") != nullptr;
    cases += "    " + name + ") words=\"" + OptionWords(app, true) + OptionWords(*command) +
             (takesPort ? PortWords() : "") + "\" ;;\n";
  }
  std::string commandWords = names;
  for (char& c : commandWords)
    if (c == '|') c = ' ';
  return "# bash completion for probelink-cli\n"
         "_probelink_cli() {\n"
         "  local cur=${COMP_WORDS[COMP_CWORD]} command= word words\n"
         "  for word in \"${COMP_WORDS[@]:1:COMP_CWORD-1}\"; do\n"
         "    case $word in " +
         names +
         ") command=$word; break ;; esac\n"
         "  done\n"
         "  case $command in\n"
         "    '') words=\"" +
         OptionWords(app) + " " + commandWords + "\" ;;\n" + cases +
         "  esac\n"
         "  [ \"${COMP_WORDS[COMP_CWORD-1]}\" = --format ] && words=\"csv json\"\n"
         "  COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
         "}\n"
         "complete -F _probelink_cli probelink-cli\n";
}

}  // namespace probelink_cli
