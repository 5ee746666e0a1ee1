#include "cli/render_options.h"

#include <algorithm>
#include <utility>

#include "cli/analysis_output.h"
#include "cli/metrics_output.h"
#include "cli/option_table.h"
#include "request/param_table.h"
#include "request/refusal_text.h"

namespace orbitograph {

std::string RenderUsage() {
    std::string text =
        "Usage: orbitograph-render [options]\n"
        "Computes the attractor and basin spaces of the map\n"
        "  x' = A(x^2 - y^2) + Cx,  y' = 2Axy + Cy\n"
        "and prints the results.\n";
    const std::pair<OptionSection, const char*> sections[] = {
        {OptionSection::Model, "Model parameters (defaults in brackets):"},
        {OptionSection::Picture, "Picture (as the main window shows it):"},
        {OptionSection::Output, "Output:"},
    };
    for (const auto& [section, title] : sections) {
        text += "\n" + std::string(title) + "\n";
        for (const CommandOption& option : OptionTable()) {
            if (option.section != section) continue;
            std::string left = "  " + std::string(option.name);
            if (!option.argument.empty()) left += " " + std::string(option.argument);
            left.resize(std::max<std::size_t>(left.size() + 2, 29), ' ');
            text += left + option.help + "\n";
        }
    }
    return text +
           "\n"
           "On a terminal a progress line is shown on standard error. Ctrl+C, SIGTERM,\n"
           "SIGHUP, SIGALRM, SIGUSR1/2 or SIGPIPE end the run at any stage with exit\n"
           "status 128 + signal (130 for Ctrl+C, 143 for SIGTERM): no file is left half\n"
           "written, a picture and its export are written both or neither, and a\n"
           "sweep's frames already written are named. Exit status 1: a failure while\n"
           "running, such as a write that failed (the target keeps its old contents;\n"
           "a file-size limit is one); 2: a refused option or input file.\n";
}

OptionsResult ParseRenderOptions(const std::vector<std::string>& args, RenderOptions start) {
    RenderOptions o = std::move(start);
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool inlineValue = false;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            inlineValue = true;
        }
        const auto& table = OptionTable();
        const auto option = std::find_if(table.begin(), table.end(), [&](const CommandOption& candidate) {
            return candidate.name == name && (!candidate.argument.empty() || !inlineValue);
        });
        if (option == table.end()) return {std::nullopt, "unknown option " + Quoted(args[i]) + " (see --help)"};
        if (!option->argument.empty() && !inlineValue) {
            if (i + 1 >= args.size()) return {std::nullopt, name + ": missing value"};
            value = args[++i];
        }
        std::string error;
        if (!option->apply(o, option->name, value, error)) return {std::nullopt, error};
    }
    if (o.help) return {o, {}};
    if (o.orbit && (!o.output.empty() || o.counts || o.report || o.analysis || !o.exportFile.empty() ||
                    o.sweeps.Active() || o.metrics.wanted))
        return {std::nullopt,
                "--orbit: prints the orbit alone; it cannot be combined with --output, --counts, --report, "
                "--analysis, --export, --sweep, --plane or --metrics"};
    if (o.orbitLimit >= 0 && !o.orbit) return {std::nullopt, "--orbit-limit: needs --orbit"};
    if (auto e = CheckParameters(o.request.params))
        return {std::nullopt, std::string(ParamRowOf(e->field).option) + ": " + RefusalText(*e)};
    if (std::string why = CheckSweepOptions(o); !why.empty()) return {std::nullopt, why};
    if (std::string why = CheckAnalysisOptions(o); !why.empty()) return {std::nullopt, why};
    if (std::string why = CheckMetricsOptions(o); !why.empty()) return {std::nullopt, why};
    return {o, {}};
}

}  // namespace orbitograph
