// `vellicor run`: load the module, register its plug-ins from its resources,
// open the document, send one plug-in a "Do It" request with the Set and
// Effect (or none, so that it plays what it remembers), and report what
// happened. With image files the Effect is carried out on each and the
// results are written; without, the request goes to an empty document
// described by options. The options of the host's test bench (dialog, host
// identity, no document, the call log, a planned failure) are here too.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "host/cli/CommandLine.h"
#include "host/cli/Commands.h"
#include "host/cli/DefaultModule.h"
#include "host/cli/RunArguments.h"
#include "host/cli/RunBatch.h"
#include "host/cli/RunDocument.h"
#include "host/cli/RunImage.h"
#include "host/cli/RunSession.h"
#include "host/core/Host.h"

namespace vhost::cli {

namespace {

constexpr int kMaxJobs = 64;

const std::vector<std::string> kImageOptions = {"output", "overwrite", "jobs"};

std::vector<std::string> Joined(std::vector<std::vector<std::string>> lists) {
    std::vector<std::string> all;
    for (const auto& list : lists) {
        all.insert(all.end(), list.begin(), list.end());
    }
    return all;
}

std::vector<std::string> Flags() {
    return Joined({SessionFlagNames(), DocumentFlagNames(), {"help", "overwrite"}});
}

void Help() {
    std::printf(
        "usage: vellicor run IMAGE... -o OUT --plugin NAME [--set SET --effect EFFECT] [options]\n"
        "       vellicor run --plugin NAME [--set SET --effect EFFECT] [options]\n"
        "\n"
        "  --plugin NAME     the plug-in, e.g. \"Vellicor Output Honer\" (its menu name with \"...\" works "
        "too)\n"
        "  --set SET         the Set to apply, e.g. \"Inkjet Output Honers\"\n"
        "  --effect EFFECT   the Effect of that Set, e.g. \"Glossy and Lustre Paper, 300 ppi\"\n"
        "                    Without --set and --effect the plug-in plays the Set and Effect it\n"
        "                    remembers from its last run for this user.\n"
        "  --dialog          choose the Set and Effect in the plug-in's own dialog\n"
        "  --module FILE     the module (default: %s beside this command or in its installed plug-ins\n"
        "                    folder, else the one built with it)\n"
        "\n"
        "Images (TIFF, PNG or JPEG; RGB of 8 or 16 bits per channel):\n"
        "  -o OUT            one image: the result file; several: the folder the results go to,\n"
        "                    each under its image's name. The format follows OUT's extension\n"
        "                    (.tif .tiff .png .jpg .jpeg); depth, profile, resolution and alpha are\n"
        "                    kept. Nothing is written unless the whole run succeeds.\n"
        "  --overwrite       allow a result to replace its own image\n"
        "  --jobs N          images worked on at a time, each in a process of its own (default %d)\n"
        "\n"
        "Without images, an empty RGB document:\n"
        "  --depth 8|16 --width PX --height PX --ppi N --profile NAME\n"
        "                    (default 8 bits, 3000 x 2000 pixels at 300 ppi, sRGB IEC61966-2.1)\n"
        "  --no-document     run with no open document\n"
        "\n"
        "The host, for testing:\n"
        "  --play N          playInfo: 0 no dialog (default), 1 show the dialog, 2 silent\n"
        "  --colour-settings NAME  select one of the host's named colour settings first\n"
        "  --reported-name NAME    what the host reports as the plug-in's own name\n"
        "  --host-name NAME --host-version MAJOR   what the host says it is\n"
        "  --fail-call ROUTINE:N[:CODE]  make the N-th call of a host routine fail (default code\n"
        "                    -25920), e.g. Control.Play:5\n"
        "  --calls           also list every host call the module made\n"
        "\n"
        "Exit status: 0 when the plug-in returned 0, the host's accounting is clean and every result\n"
        "was written; 1 when something was refused or failed; 2 for bad usage.\n",
        kModuleFile, DefaultJobs());
}

int Usage(const std::string& why) {
    return UsageError("run", why);
}

int Failure(const std::string& why) {
    return CommandFailure("run", why);
}

int RunOnDefaultDocument(const CommandLine& cl, const RunSettings& settings) {
    Host host;
    if (auto why = OpenRunDocument(cl, host)) {
        return Usage(*why);
    }
    const RequestOutcome outcome = SendRunRequest(host, settings, std::cout);
    return outcome.status == 0 ? 0 : Failure(outcome.failure);
}

std::optional<std::string> ReadJobs(const CommandLine& cl, int& jobs) {
    jobs = DefaultJobs();
    if (auto text = cl.Value("jobs")) {
        const auto n = ParseNumber(*text, 1, kMaxJobs);
        if (!n) {
            return "--jobs wants a whole number from 1 to " + std::to_string(kMaxJobs);
        }
        jobs = static_cast<int>(*n);
    }
    return std::nullopt;
}

int RunOnImages(const SplitArguments& split, const CommandLine& cl, const RunSettings& settings) {
    for (const std::string& name : DocumentOptionNames()) {
        if (cl.Has(name)) {
            return Usage("--" + name + " describes the empty document; an image brings its own");
        }
    }
    const std::optional<std::string> output = cl.Value("output");
    if (!output) {
        return Usage("-o OUT is required with images: the result file, or the folder for several");
    }
    const bool overwrite = cl.Has("overwrite");
    BatchPlan plan;
    if (auto why = ReadJobs(cl, plan.jobs)) {
        return Usage(*why);
    }
    if (auto why = PlanOutputs(split.images, *output, overwrite, plan.targets)) {
        return Usage(*why);
    }
    if (plan.targets.size() == 1) {
        const ImageOutcome outcome = RunOnImage(settings, plan.targets.front(), overwrite, std::cout);
        return outcome.status == 0 ? 0 : Failure(outcome.failure);
    }
    plan.folder = *output;
    plan.overwrite = overwrite;
    plan.options = WithoutOptions(split.options, {"output", "jobs"}, Flags());
    return RunBatch(plan, settings, std::cout);
}

} // namespace

int RunCommand(const std::vector<std::string>& args) {
    const SplitArguments split = SplitImages(args, Flags());
    CommandLine cl(split.options, Flags());
    const std::vector<std::string> known =
        Joined({SessionOptionNames(), DocumentOptionNames(), kImageOptions, {"help"}});
    if (auto done = CheckLine("run", cl, known, Help)) {
        return *done;
    }
    RunSettings settings;
    if (auto why = ReadRunSettings(cl, settings)) {
        return Usage(*why);
    }
    if (split.images.empty()) {
        for (const std::string& name : kImageOptions) {
            if (cl.Has(name)) {
                return Usage("--" + name + " goes with images: vellicor run IMAGE... -o OUT");
            }
        }
        return RunOnDefaultDocument(cl, settings);
    }
    return RunOnImages(split, cl, settings);
}

} // namespace vhost::cli
