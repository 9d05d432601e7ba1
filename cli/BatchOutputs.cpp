#include "cli/BatchOutputs.h"

#include <algorithm>
#include <utility>

#include "cli/CliError.h"
#include "platform/File.h"
#include "platform/SaveTarget.h"

namespace tabora::cli {

bool IsPageName(const std::string& path) {
    std::string extension = ExtensionOf(path);
    for (char& c : extension) c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension == "html" || extension == "htm";
}

void CheckBatchTargets(const std::string& batchFile, const std::vector<std::string>& outputs,
                       const std::vector<BatchPage>& pages, const std::vector<size_t>& owners) {
    auto button = [&](size_t i) {
        return "buttons[" + std::to_string(i < owners.size() ? owners[i] : i) + "]";
    };
    std::vector<std::pair<SaveIdentity, size_t>> targets;
    targets.reserve(outputs.size());
    for (size_t i = 0; i < outputs.size(); ++i) targets.emplace_back(SaveIdentityOf(outputs[i]), i);
    std::sort(targets.begin(), targets.end());
    for (size_t i = 1; i < targets.size(); ++i) {
        if (targets[i].first == targets[i - 1].first) {
            const size_t a = std::min(targets[i - 1].second, targets[i].second);
            const size_t b = std::max(targets[i - 1].second, targets[i].second);
            throw UsageError(batchFile + ": " + button(a) + " and " + button(b) +
                             " write the same file (\"" + outputs[a] + "\", \"" + outputs[b] +
                             "\"); one button would be lost");
        }
    }
    const SaveIdentity batch = SaveIdentityOf(batchFile);
    std::vector<std::pair<SaveIdentity, const std::string*>> seen;
    for (const BatchPage& page : pages) {
        if (page.path.empty()) continue;
        const SaveIdentity identity = SaveIdentityOf(page.path);
        if (identity == batch) {
            throw UsageError(batchFile + ": \"" + page.key + "\" names the batch file itself");
        }
        auto same = std::lower_bound(targets.begin(), targets.end(), std::make_pair(identity, size_t(0)));
        if (same != targets.end() && same->first == identity) {
            throw UsageError(batchFile + ": \"" + page.key + "\" names the output of " +
                             button(same->second));
        }
        for (const auto& [other, key] : seen) {
            if (other == identity) {
                throw UsageError(batchFile + ": \"" + page.key + "\" and \"" + *key +
                                 "\" name the same file");
            }
        }
        seen.emplace_back(identity, &page.key);
    }
}

}  // namespace tabora::cli
