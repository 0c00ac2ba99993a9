#pragma once
// Writes the parts of a plan: each part is an ordinary book, checked and written by the book
// generation exactly as 生成qbr writes a book, under its own name.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/DialogHost.h"
#include "parts/PartPlan.h"

namespace brisna {

struct PartsOutcome {
    bool succeeded = false;
    std::vector<std::string> writtenFiles;  // every file written, in reading order
    int failedPart = 0;                     // the part that failed (counted from 1), or 0
};

// Called before each part is written (done parts, all parts) and once at the end.
using PartsProgress = std::function<void(size_t done, size_t total)>;

// The message the operator sees when a plan cannot be made (GBK); empty for kOk.
std::string PartPlanProblem(PartPlanStatus status);
// The same for a plan, naming the refused part and generation's reason for it.
std::string PartPlanProblem(const PartPlan& plan);

// Checks and builds every part, then writes them in reading order. A part that is refused stops
// the run before anything is written; "第%d册生成失败" follows the part's own message (so does
// a part whose file cannot be written, when the parts before it stay). A plan of one part is
// written as 生成qbr writes the book, with its messages; several parts end with one message
// naming the folder and the number of parts. Then parts of an earlier edition of the book that
// this run did not write again are removed, and the message names them.
PartsOutcome GenerateParts(std::string_view text, const PartPlan& plan, DialogHost& host,
                           const PartsProgress& progress = {});

// The paths GenerateParts would write for the plan, in the order it writes them, without
// writing anything; empty when the plan cannot be written.
std::vector<std::string> PlannedPartPaths(std::string_view text, const PartPlan& plan);

// The folder the parts are written into, as shown to the operator ("." for the current folder).
std::string PartsFolder(const PartPlan& plan);

}  // namespace brisna
