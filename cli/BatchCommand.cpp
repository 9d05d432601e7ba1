#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cctype>
#include <filesystem>
#include <functional>
#include <thread>

#include <nlohmann/json.hpp>

#include "cli/BatchOutputs.h"
#include "cli/CaptionFit.h"
#include "cli/CliError.h"
#include "cli/Commands.h"
#include "cli/JsonFile.h"
#include "cli/Scales.h"
#include "cli/SettingsPatch.h"
#include "imaging/ButtonFile.h"
#include "platform/Error.h"
#include "platform/File.h"
#include "platform/SaveTarget.h"
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

struct Job {
    ButtonSettings settings;
    std::string output;
    std::vector<int> scales;  // 1 and any finer ones, each file beside the 1x one
    std::string where;  // "FILE: buttons[i]" for messages
    int32_t width = 0;  // of the written picture, for the HTML
    int32_t height = 0;
    std::string error;
    std::string warning;  // characters no installed font has
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

// Percent-encodes what may not stand in a URL path as it is.
std::string UrlPath(const std::string& path) {
    static const char* kHex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            out += char(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

// Text for an attribute value. Control characters (a newline in a caption)
// become character references, so each button stays one line of the page.
std::string HtmlText(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default:
                if ((unsigned char)c < 0x20 || c == 0x7F) {
                    out += "&#" + std::to_string(int(c)) + ";";
                } else {
                    out += c;
                }
        }
    }
    return out;
}

void WriteHtml(const std::string& path, const std::vector<Job>& jobs) {
    const fs::path folder = fs::absolute(path).parent_path().lexically_normal();
    std::string html;
    for (const Job& job : jobs) {
        if (!job.error.empty()) continue;
        const fs::path target = fs::absolute(job.output).lexically_normal();
        const std::string src = target.lexically_relative(folder).generic_string();
        // The finer files stand in for the 1x one on finer screens, at the
        // 1x width and height: each is exactly that many times as large.
        std::string srcset;
        for (int scale : job.scales) {
            if (scale == 1) continue;
            const fs::path fine = fs::absolute(ScaledPath(job.output, scale)).lexically_normal();
            // "@" may stand in a path as it is, and the scale's suffix reads
            // better so; the other characters are encoded as in src.
            const std::string encoded = UrlPath(fine.lexically_relative(folder).generic_string());
            std::string url;
            for (size_t i = 0; i < encoded.size(); ++i) {
                const bool at = encoded.compare(i, 3, "%40") == 0;
                url += at ? '@' : encoded[i];
                if (at) i += 2;
            }
            srcset += (srcset.empty() ? "" : ", ") + url + " " + std::to_string(scale) + "x";
        }
        html += "<img src=\"" + HtmlText(UrlPath(src)) + "\"" +
                (srcset.empty() ? "" : " srcset=\"" + HtmlText(srcset) + "\"") + " alt=\"" +
                HtmlText(job.settings.caption) + "\" width=\"" + std::to_string(job.width) +
                "\" height=\"" + std::to_string(job.height) + "\">\n";
    }
    WriteWholeFile(path, html.data(), html.size());
}

}  // namespace

int RunBatch(const BatchArgs& args) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    int64_t threads = args.jobs ? ParseInteger(*args.jobs, "-j", 1, kMaxJobs) : int64_t(cores);

    const json doc = ReadJsonFile(args.file);
    const std::string& where = args.file;
    if (!doc.is_object()) throw UsageError(where + ": a batch must be a JSON object");
    for (auto it = doc.begin(); it != doc.end(); ++it) {
        static const char* kKeys[] = {"defaults", "buttons", "fitCaption", "sameSize", "html"};
        if (std::find(std::begin(kKeys), std::end(kKeys), it.key()) == std::end(kKeys)) {
            throw UsageError(where + ": unknown key \"" + it.key() + "\"");
        }
    }
    const bool fitCaption = OptionalBool(doc, "fitCaption", where);
    const bool sameSize = OptionalBool(doc, "sameSize", where);
    std::string htmlPath;
    const fs::path folder = fs::path(args.file).parent_path();
    if (auto it = doc.find("html"); it != doc.end()) {
        if (!it->is_string() || it->get<std::string>().empty()) {
            throw UsageError(where + ": \"html\" must be a file name");
        }
        const std::string& page = it->get<std::string>();
        RefuseNul(page, where + ": \"html\"");
        if (!IsPageName(page)) {
            throw UsageError(where + ": \"html\" must name a file ending in .html or .htm (got \"" +
                             page + "\")");
        }
        htmlPath = (folder / page).string();
    }
    SettingsPatch defaults;
    std::vector<int> defaultScales = {1};
    if (auto it = doc.find("defaults"); it != doc.end()) {
        defaults = PatchFromJson(*it, where + ": defaults", {"scales"});
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
            patch.Merge(PatchFromJson(entry, job.where, {"output", "scales"}));
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
            for (int scale : job.scales) {
                outputs.push_back(ScaledPath(job.output, scale));
                owners.push_back(i);
            }
            job.settings = Resolve(ButtonSettings{}, patch, scratch, job.where + ": \"buttonSize\"");
        }
        CheckBatchTargets(args.file, outputs, htmlPath, owners);
    }
    if (jobs.empty()) {
        if (!htmlPath.empty()) {
            WriteHtml(htmlPath, jobs);
            SyncFileSystemsOf({htmlPath});
        }
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
    RunParallel(jobs, int(threads), [](Workbench& buttons, Job& job) {
        if (!job.error.empty()) return;
        for (int scale : job.scales) {
            TaboraButton& fine = buttons.At(scale);
            fine.ApplySettings(job.settings);
            const SaveResult saved = SaveButton(fine, ScaledPath(job.output, scale), false);
            if (!saved.saved()) throw TaboraError(saved.detail);
        }
        TaboraButton& button = buttons.At(1);
        button.ApplySettings(job.settings);
        button.PrepareExport();
        job.warning = MissingCharactersWarning(button.MissingCaptionCharacters());
        job.width = button.exportRect().Width();
        job.height = button.exportRect().Height();
    });

    int failures = 0;
    std::vector<std::string> written;
    for (const Job& job : jobs) {
        if (!job.warning.empty()) PrintWarning(job.where + ": " + job.warning);
        if (job.error.empty()) {
            for (int scale : job.scales) written.push_back(ScaledPath(job.output, scale));
            continue;
        }
        PrintError(job.where + ": " + job.error);
        ++failures;
    }
    if (!htmlPath.empty()) {
        WriteHtml(htmlPath, jobs);
        written.push_back(htmlPath);
    }
    // Files are saved without waiting for the disk, each; one wait at the
    // end puts them all there before the batch says it succeeded.
    SyncFileSystemsOf(written);
    return failures ? kExitFailure : kExitOk;
}

}  // namespace tabora::cli
