#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cctype>
#include <filesystem>
#include <functional>
#include <thread>

#include <nlohmann/json.hpp>

#include "cli/BatchOutputs.h"
#include "cli/CaptionChecks.h"
#include "cli/CaptionFit.h"
#include "cli/CliError.h"
#include "cli/Commands.h"
#include "cli/JsonFile.h"
#include "cli/Scales.h"
#include "cli/SettingsPatch.h"
#include "cli/StateOptions.h"
#include "cli/WebPage.h"
#include "imaging/StateFiles.h"
#include "imaging/ButtonFile.h"
#include "platform/Error.h"
#include "platform/File.h"
#include "platform/SaveTarget.h"
#include "render/Contrast.h"
#include "render/StatePictures.h"
#include "render/ScaledPicture.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"

namespace tabora::cli {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// More threads than this gain nothing on any machine we know of, and the
// bound keeps a typo from starting thousands.
constexpr int64_t kMaxJobs = 256;
// A navigation bar has a handful of buttons; a whole site a few thousand.
constexpr size_t kMaxButtons = 100'000;
// A summary line names this many buttons and counts the rest.
constexpr size_t kNamedInSummary = 5;

struct Job {
    ButtonSettings settings;
    std::string output;
    std::vector<int> scales;  // 1 and any finer ones, each file beside the 1x one
    std::string where;  // "FILE: buttons[i]" for messages
    std::string error;
    std::string warning;  // characters no installed font has
    std::string note;     // about its place on the page
    // States, sprite, the link and its class; `web.states` empty for a
    // button written as before.
    StateRequest request;
    ButtonStates states;
    WebButton web;
    bool autoColour = false;
    std::vector<CaptionCheck> checks;
};

// A thread's buttons: the 1x button, which decides every layout, and one for
// each finer scale, made when a job first asks for it.
class Workbench {
public:
    TaboraButton& At(int scale) {
        if (scale == 1) return one_;
        std::unique_ptr<TaboraButton>& fine = fine_[scale - 2];
        if (!fine) fine = std::make_unique<TaboraButton>(GetArchive(), scale);
        return *fine;
    }

private:
    TaboraButton one_{GetArchive()};
    std::unique_ptr<TaboraButton> fine_[kMaxArtScale - 1];
};

// Runs `work(buttons, job)` over all jobs on `threads` threads, one
// workbench per thread; the renderer's scratch buffers are per thread as well.
void RunParallel(std::vector<Job>& jobs, int threads,
                 const std::function<void(Workbench&, Job&)>& work) {
    std::atomic<size_t> next{0};
    auto worker = [&] {
        Workbench buttons;
        for (size_t i = next++; i < jobs.size(); i = next++) {
            try {
                work(buttons, jobs[i]);
            } catch (const std::exception& e) {
                jobs[i].error = e.what();
            }
        }
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(worker);
    worker();
    for (std::thread& t : pool) t.join();
}

bool OptionalBool(const json& doc, const char* key, const std::string& where) {
    auto it = doc.find(key);
    if (it == doc.end()) return false;
    if (!it->is_boolean()) throw UsageError(where + ": \"" + key + "\" must be true or false");
    return it->get<bool>();
}

// The scales of a button: the 1x file is the page's picture and decides the
// layout every finer one follows, so it is always among them.
std::vector<int> BatchScales(const json& value, const std::string& what) {
    std::vector<int> scales = ScalesFromJson(value, what);
    if (std::find(scales.begin(), scales.end(), 1) == scales.end())
        throw UsageError(what + " must include 1: the 1x file is the page's picture, the finer ones stand in for it");
    return scales;
}

void WriteHtml(const std::string& path, const std::vector<Job>& jobs, bool styled) {
    std::string html;
    for (const Job& job : jobs) {
        if (job.error.empty()) html += ButtonHtml(job.web, path, styled);
    }
    WriteWholeFile(path, html.data(), html.size());
}

void WriteCss(const std::string& path, const std::vector<Job>& jobs) {
    std::vector<WebButton> buttons;
    for (const Job& job : jobs) {
        if (job.error.empty()) buttons.push_back(job.web);
    }
    const std::string css = ButtonCss(buttons, path);
    WriteWholeFile(path, css.data(), css.size());
}

// A page's name from the batch: a text, without NUL, with the right ending.
std::string PageName(const json& doc, const char* key, bool (*fits)(const std::string&),
                     const char* endings, const std::string& where) {
    auto it = doc.find(key);
    if (it == doc.end()) return {};
    if (!it->is_string() || it->get<std::string>().empty()) {
        throw UsageError(where + ": \"" + key + "\" must be a file name");
    }
    const std::string& page = it->get<std::string>();
    RefuseNul(page, where + ": \"" + key + "\"");
    if (!fits(page)) {
        throw UsageError(where + ": \"" + key + "\" must name a file ending in " + endings +
                         " (got \"" + page + "\")");
    }
    return page;
}

// A text key of a button's entry: "href", "alt", "className", "rel", "target".
std::string EntryText(const json& entry, const char* key, const std::string& where) {
    auto it = entry.find(key);
    if (it == entry.end()) return {};
    if (!it->is_string()) throw UsageError(where + ": \"" + key + "\" must be a string");
    return CheckText(it->get<std::string>(), where + ": \"" + key + "\"");
}

// The states and the sprite an entry asks for, or those of the defaults
// where it names none; read once for the defaults, once for each entry.
struct StateKeys {
    StateRequest states;
    bool sprite = false;
};

StateKeys ReadStateKeys(const json& entry, const StateKeys& defaults, const std::string& where) {
    StateKeys keys = defaults;
    if (auto states = entry.find("states"); states != entry.end()) {
        keys.states = StatesFromJson(*states, where);
    }
    if (auto it = entry.find("sprite"); it != entry.end()) {
        if (!it->is_boolean()) throw UsageError(where + ": \"sprite\" must be true or false");
        keys.sprite = it->get<bool>();
    }
    return keys;
}

// Reads what a button's entry says beyond its settings: its states, its
// sprite, its link. The entry's "textColor" may be "auto".
void ReadWebKeys(const json& entry, const StateKeys& defaults, Job& job) {
    const std::string& where = job.where;
    StateKeys keys = ReadStateKeys(entry, defaults, where);
    job.request = std::move(keys.states);
    if (keys.sprite && job.request.which.empty()) job.request.which.assign(kAllStates.begin(), kAllStates.end());
    job.web.sprite = keys.sprite;
    job.web.files = !keys.sprite;
    if (const std::string href = EntryText(entry, "href", where); !href.empty()) {
        job.web.href = CheckHref(href, where + ": \"href\"");
    }
    job.web.alt = EntryText(entry, "alt", where);
    if (const std::string cls = EntryText(entry, "className", where); !cls.empty()) {
        job.web.className = CheckClassName(cls, where + ": \"className\"");
    }
    if (const std::string rel = EntryText(entry, "rel", where); !rel.empty()) {
        job.web.rel = CheckRel(rel, where + ": \"rel\"");
    }
    if (const std::string target = EntryText(entry, "target", where); !target.empty()) {
        job.web.target = CheckTarget(target, where + ": \"target\"");
    }
}

// The entry without a "textColor" of "auto", which the settings form does
// not know; `autoColour` says whether it was there.
json WithoutAutoColour(const json& entry, bool& autoColour) {
    auto it = entry.find("textColor");
    autoColour = it != entry.end() && it->is_string() && IsAutoColour(it->get<std::string>());
    if (!autoColour) return entry;
    json copy = entry;
    copy.erase("textColor");
    return copy;
}

// Draws a job's pictures: its states on `renderer`, or the button as
// before on `button`; with `save`, writes them.
void RenderJob(Workbench& buttons, StateRenderer& renderer, Job& job, bool save) {
    TaboraButton& button = buttons.At(1);
    button.ApplySettings(job.settings);
    if (job.autoColour) {
        const double backdrop = button.CaptionBackdropLuminance();
        if (backdrop >= 0) button.SetTextColor(BetterCaptionColor(backdrop));
        job.settings = button.settings();
    }
    job.checks.clear();
    if (job.web.states.empty()) {
        job.checks.push_back(CheckButton(button));
        if (!save) return;
        const SaveResult saved = SaveButton(button, job.output, false);
        if (!saved.saved()) throw TaboraError(saved.detail);
        job.web.width = button.exportRect().Width();
        job.web.height = button.exportRect().Height();
        // The finer files follow the 1x layout (a button of that scale keeps
        // a 1x one of its own) and carry the same settings.
        for (int scale : job.scales) {
            if (scale == 1) continue;
            TaboraButton& fine = buttons.At(scale);
            fine.ApplySettings(job.settings);
            const SaveResult finer = SaveButton(fine, ScaledPath(job.output, scale), false);
            if (!finer.saved()) throw TaboraError(finer.detail);
        }
    } else {
        const FormatEntry& format = *FindFormat(ExtensionOf(job.output));
        const bool withLayers = save && format.keepsTransparency && job.settings.removeBackground;
        // Every scale is cut to its 1x rectangle times the scale, so the
        // page's size comes from the 1x set.
        StateSet one = renderer.Render(job.settings, job.states, job.web.states, 1, withLayers);
        if (job.autoColour && ChooseCaptionColorForStates(one.pictures, job.settings)) {
            button.ApplySettings(job.settings);
            one = renderer.Render(job.settings, job.states, job.web.states, 1, withLayers);
        }
        for (const StatePicture& picture : one.pictures) job.checks.push_back(CheckState(picture));
        job.web.width = one.rect.Width();
        job.web.height = one.rect.Height();
        if (!save) return;
        for (int scale : job.scales) {
            const StateSet fine = scale == 1 ? StateSet{}
                                             : renderer.Render(job.settings, job.states, job.web.states,
                                                               scale, withLayers, &one);
            const SaveResult saved = SaveStateFiles(scale == 1 ? one : fine, job.states, job.output,
                                                    job.web.files, job.web.sprite, false);
            if (!saved.saved()) throw TaboraError(saved.detail);
        }
    }
    job.warning = MissingCharactersWarning(button.MissingCaptionCharacters());
}

// One line for all the captions that do not fit, and one for all that read
// badly: "3 captions run past their bodies: buttons[0] by 25 pixels (hover), ...".
std::vector<std::string> SummaryLines(const std::vector<Job>& jobs, std::string& overflowList,
                                      size_t& overflowCount) {
    std::string contrastList;
    size_t contrastCount = 0;
    for (size_t i = 0; i < jobs.size(); ++i) {
        if (!jobs[i].error.empty()) continue;
        const std::string name = "buttons[" + std::to_string(i) + "]";
        for (const std::string& warning : CaptionWarnings(jobs[i].checks)) {
            const bool overflow = warning.rfind("the caption runs ", 0) == 0;
            std::string& list = overflow ? overflowList : contrastList;
            size_t& count = overflow ? overflowCount : contrastCount;
            if (count < kNamedInSummary) {
                list += (list.empty() ? "" : "; ") + name + ": " + warning.substr(overflow ? 17 : 26);
            }
            ++count;
        }
    }
    auto more = [](size_t count) {
        return count > kNamedInSummary ? "; and " + std::to_string(count - kNamedInSummary) + " more"
                                       : std::string();
    };
    overflowList += more(overflowCount);
    contrastList += more(contrastCount);
    std::vector<std::string> lines;
    if (overflowCount) {
        lines.push_back(std::to_string(overflowCount) + " caption" + (overflowCount == 1 ? "" : "s") +
                        (overflowCount == 1 ? " runs past its body" : " run past their bodies") + ": " +
                        overflowList);
    }
    if (contrastCount) {
        lines.push_back(std::to_string(contrastCount) + " caption" + (contrastCount == 1 ? "" : "s") +
                        " below the contrast " + (contrastCount == 1 ? "it needs" : "they need") +
                        ": " + contrastList);
    }
    return lines;
}

}  // namespace

int RunBatch(const BatchArgs& args) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    int64_t threads = args.jobs ? ParseInteger(*args.jobs, "-j", 1, kMaxJobs) : int64_t(cores);

    const json doc = ReadJsonFile(args.file);
    const std::string& where = args.file;
    if (!doc.is_object()) throw UsageError(where + ": a batch must be a JSON object");
    for (auto it = doc.begin(); it != doc.end(); ++it) {
        static const char* kKeys[] = {"defaults", "buttons", "fitCaption", "sameSize", "html", "css"};
        if (std::find(std::begin(kKeys), std::end(kKeys), it.key()) == std::end(kKeys)) {
            throw UsageError(where + ": unknown key \"" + it.key() + "\"");
        }
    }
    const bool fitCaption = OptionalBool(doc, "fitCaption", where);
    const bool sameSize = OptionalBool(doc, "sameSize", where);
    const fs::path folder = fs::path(args.file).parent_path();
    std::string htmlPath = PageName(doc, "html", IsPageName, ".html or .htm", where);
    if (!htmlPath.empty()) htmlPath = (folder / htmlPath).string();
    std::string cssPath = PageName(doc, "css", IsStyleSheetName, ".css", where);
    if (!cssPath.empty()) cssPath = (folder / cssPath).string();
    SettingsPatch defaults;
    StateKeys defaultStates;
    bool defaultAutoColour = false;
    std::vector<int> defaultScales = {1};
    if (auto it = doc.find("defaults"); it != doc.end()) {
        defaults = PatchFromJson(WithoutAutoColour(*it, defaultAutoColour), where + ": defaults",
                                 {"states", "sprite", "scales"});
        defaultStates = ReadStateKeys(*it, {}, where + ": defaults");
        if (auto scales = it->find("scales"); scales != it->end())
            defaultScales = BatchScales(*scales, where + ": defaults: \"scales\"");
    }
    auto buttons = doc.find("buttons");
    if (buttons == doc.end() || !buttons->is_array()) {
        throw UsageError(where + ": \"buttons\" must be an array of button settings");
    }
    if (buttons->size() > kMaxButtons) {
        throw UsageError(where + ": at most " + std::to_string(kMaxButtons) + " buttons per batch");
    }

    // Everything is checked before the first file is written.
    std::vector<Job> jobs(buttons->size());
    {
        TaboraButton scratch(GetArchive());
        std::vector<std::string> outputs;
        std::vector<size_t> owners;
        for (size_t i = 0; i < jobs.size(); ++i) {
            Job& job = jobs[i];
            job.where = where + ": buttons[" + std::to_string(i) + "]";
            const json& entry = (*buttons)[i];
            SettingsPatch patch = defaults;
            bool autoColour = false;
            const SettingsPatch own = PatchFromJson(
                WithoutAutoColour(entry, autoColour), job.where,
                {"output", "states", "sprite", "href", "alt", "className", "rel", "target", "scales"});
            job.autoColour = autoColour || (defaultAutoColour && !own.Has(FieldNamed("textColor")));
            patch.Merge(own);
            auto scales = entry.find("scales");
            job.scales = scales == entry.end() ? defaultScales
                                               : BatchScales(*scales, job.where + ": \"scales\"");
            auto out = entry.find("output");
            if (out == entry.end() || !out->is_string() || out->get<std::string>().empty()) {
                throw UsageError(job.where + ": \"output\" must be a file name");
            }
            RefuseNul(out->get<std::string>(), job.where + ": \"output\"");
            const fs::path output(out->get<std::string>());
            job.output = (output.is_absolute() ? output : folder / output).lexically_normal().string();
            if (!FindFormat(ExtensionOf(job.output))) {
                throw UsageError(job.where + ": \"output\" must have the extension " + SupportedExtensions() +
                                 ", in any case (got \"" + output.string() + "\")");
            }
            job.settings = Resolve(ButtonSettings{}, patch, scratch, job.where + ": \"buttonSize\"");
            ReadWebKeys(entry, defaultStates, job);
            job.states = ResolveStates(job.request, job.settings, job.where);
            job.web.output = job.output;
            if (job.web.className.empty()) job.web.className = ClassNameFor(job.output);
            // A style sheet draws every button by its class, from its files.
            if (!cssPath.empty() && job.request.which.empty()) job.request.which = {ButtonState::Normal};
            job.web.states = job.request.which;
            if (job.web.alt.empty()) job.web.alt = job.settings.caption;
            // A link's words are its alt text: without them it has no name.
            // A picture alone may be decorative (alt=""), as before.
            const bool named = !job.web.href.empty() || !cssPath.empty();
            if (!htmlPath.empty() && job.web.alt.empty() && named) {
                throw UsageError(job.where + ": a button without a caption needs \"alt\", the words "
                                 "its link stands for on the page");
            }
            if (!htmlPath.empty() && job.web.alt.empty()) {
                job.note = "no caption and no \"alt\": the page shows its picture with alt=\"\", "
                              "as decoration";
            }
            job.web.scales = job.scales;
            std::vector<std::string> names;
            for (int scale : job.scales) {
                if (job.web.states.empty()) {
                    names.push_back(ScaledPath(job.output, scale));
                } else {
                    for (std::string& name : StateFileNames(job.web.states, scale, job.output,
                                                            job.web.files, job.web.sprite))
                        names.push_back(std::move(name));
                }
            }
            for (const std::string& name : names) {
                outputs.push_back(name);
                owners.push_back(i);
            }
        }
        CheckBatchTargets(args.file, outputs, {{"html", htmlPath}, {"css", cssPath}}, owners);
    }
    if (jobs.empty()) {
        std::vector<std::string> pages;
        if (!htmlPath.empty()) WriteHtml(htmlPath, jobs, !cssPath.empty()), pages.push_back(htmlPath);
        if (!cssPath.empty()) WriteCss(cssPath, jobs), pages.push_back(cssPath);
        SyncFileSystemsOf(pages);
        return kExitOk;
    }
    threads = std::min<int64_t>(threads, int64_t(jobs.size()));

    if (fitCaption) {
        // At 1x: every scale follows the size it decides.
        RunParallel(jobs, int(threads), [](Workbench& buttons, Job& job) {
            TaboraButton& button = buttons.At(1);
            button.ApplySettings(job.settings);
            job.settings.buttonSize = FittedSize(button);
        });
    }
    if (sameSize) {
        int32_t largest = 0;
        for (const Job& job : jobs) largest = std::max(largest, job.settings.buttonSize);
        for (Job& job : jobs) job.settings.buttonSize = largest;
    }
    // Each thread keeps the buttons its states are drawn on.
    auto render = [](bool save) {
        return [save](Workbench& buttons, Job& job) {
            if (!job.error.empty()) return;
            thread_local StateRenderer renderer(GetArchive());
            RenderJob(buttons, renderer, job, save);
        };
    };
    std::string overflowList;
    size_t overflowCount = 0;
    if (args.strict) {
        // Every caption is measured before the first file is written.
        RunParallel(jobs, int(threads), render(false));
        SummaryLines(jobs, overflowList, overflowCount);
        if (overflowCount) {
            throw UsageError(where + ": " + std::to_string(overflowCount) + " caption" +
                             (overflowCount == 1 ? " runs" : "s run") +
                             " past the body; nothing was written (--strict): " + overflowList);
        }
    }
    RunParallel(jobs, int(threads), render(true));

    int failures = 0;
    std::vector<std::string> written;
    for (const Job& job : jobs) {
        if (!job.warning.empty()) PrintWarning(job.where + ": " + job.warning);
        if (!job.note.empty()) PrintWarning(job.where + ": " + job.note);
        if (job.error.empty()) {
            for (int scale : job.scales) written.push_back(ScaledPath(job.output, scale));
            continue;
        }
        PrintError(job.where + ": " + job.error);
        ++failures;
    }
    overflowList.clear();
    overflowCount = 0;
    for (const std::string& line : SummaryLines(jobs, overflowList, overflowCount)) {
        PrintWarning(where + ": " + line);
    }
    if (!htmlPath.empty()) {
        WriteHtml(htmlPath, jobs, !cssPath.empty());
        written.push_back(htmlPath);
    }
    if (!cssPath.empty()) {
        WriteCss(cssPath, jobs);
        written.push_back(cssPath);
    }
    // Files are saved without waiting for the disk, each; one wait at the
    // end puts them all there before the batch says it succeeded.
    SyncFileSystemsOf(written);
    return failures ? kExitFailure : kExitOk;
}

}  // namespace tabora::cli
