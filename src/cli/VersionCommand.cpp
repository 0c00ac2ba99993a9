// version: print the program's version (the same as --version).
#include <ostream>

#include "cli/Commands.h"
#include "cli/help/GeneralHelpMessages.h"

namespace brisna::cli {
namespace {

class VersionCommand : public Command {
  public:
    VersionCommand() {
        spec_.name = "version";
        spec_.summary = help::version::kSummary;
        spec_.details = {help::version::Details(VersionLine())};
        spec_.summaryZh = help::version::kSummaryZh;
        spec_.detailsZh = {help::version::DetailsZh(VersionLine())};
    }

    const CommandSpec& Spec() const override { return spec_; }

    int Run(const ParsedArgs&, CommandStreams& streams) override {
        streams.out << VersionLine() << '\n';
        return kExitOk;
    }

  private:
    CommandSpec spec_;
};

}  // namespace

std::unique_ptr<Command> MakeVersionCommand() {
    return std::make_unique<VersionCommand>();
}

}  // namespace brisna::cli
