#pragma once
#include <string>
#include <vector>

namespace tabora::cli {

// Whether a name is one the HTML page may have: it ends in .html or .htm,
// in any case. Anything else could be a script, an image or the batch file.
bool IsPageName(const std::string& path);

// Checks where a batch will write before it writes anything: no two
// buttons may write the same file, however their names are spelled
// (compared by folder identity and name, through links), and the HTML page
// must be neither the batch file nor a button's output. Throws UsageError
// naming the batch file and the buttons ("buttons[i]" for `outputs[i]`, or
// for the i of `owners[i]` when a button writes several files) or "html".
// `html` is empty when there is no page.
void CheckBatchTargets(const std::string& batchFile, const std::vector<std::string>& outputs,
                       const std::string& html, const std::vector<size_t>& owners = {});

}  // namespace tabora::cli
