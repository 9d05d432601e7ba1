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
                       const std::string& html, const std::vector<size_t>& owners) {
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
    if (html.empty()) return;
    const SaveIdentity page = SaveIdentityOf(html);
    if (page == SaveIdentityOf(batchFile))
        throw UsageError(batchFile + ": \"html\" names the batch file itself");
    auto same = std::lower_bound(targets.begin(), targets.end(), std::make_pair(page, size_t(0)));
    if (same != targets.end() && same->first == page) {
        throw UsageError(batchFile + ": \"html\" names the output of " + button(same->second));
    }
}

}  // namespace tabora::cli
