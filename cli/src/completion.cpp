#include "completion.h"

#include "command_line.h"
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

// After an option that takes a fixed set, its values; after one that takes
// a file or folder, the names there.
std::string ValueCases(CLI::App& app) {
  std::string cases;
  for (const CLI::App* command : app.get_subcommands([](CLI::App*) { return true; }))
    for (const CLI::Option* option : command->get_options())
      for (const std::string& name : option->get_lnames())
        if (const std::string values = FixedValues("--" + name); !values.empty())
          cases += "    --" + name + ") COMPREPLY=($(compgen -W \"" + values +
                   "\" -- \"$cur\")); return ;;\n";
  return cases + "    --assign|--unassign) COMPREPLY=($(compgen -W \"" + PortWords() +
         "\" -- \"$cur\")); return ;;\n"
         "    --settings) COMPREPLY=($(compgen -d -- \"$cur\")); return ;;\n"
         "    --tolerances) COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n";
}

}  // namespace

std::string BashCompletion(CLI::App& app) {
  std::string names, cases;
  std::string commandWords;
  for (const CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
    const std::string& name = command->get_name();
    names += (names.empty() ? "" : "|") + name;
    commandWords += " " + name;
    if (name == "help") continue;  // takes the other commands' names
    const bool takesPort = command->get_option_no_throw("port") != nullptr;
    cases += "    " + name + ") words=\"" + OptionWords(app, true) + OptionWords(*command) +
             (takesPort ? PortWords() : "") + "\" ;;\n";
  }
  cases += "    help) words=\"" + commandWords + "\" ;;\n";
  return "# bash completion for probelink-cli\n"
         "_probelink_cli() {\n"
         "  local cur=${COMP_WORDS[COMP_CWORD]} command= word words\n"
         "  case ${COMP_WORDS[COMP_CWORD-1]} in\n" +
         ValueCases(app) +
         "  esac\n"
         "  for word in \"${COMP_WORDS[@]:1:COMP_CWORD-1}\"; do\n"
         "    case $word in " +
         names +
         ") command=$word; break ;; esac\n"
         "  done\n"
         "  # A device path where a port goes.\n"
         "  if [[ $cur == /* && -n $command ]]; then COMPREPLY=($(compgen -f -- \"$cur\")); "
         "return; fi\n"
         "  case $command in\n"
         "    '') words=\"" +
         OptionWords(app) + commandWords + "\" ;;\n" + cases +
         "  esac\n"
         "  COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
         "}\n"
         "complete -F _probelink_cli probelink-cli\n";
}

}  // namespace probelink_cli
