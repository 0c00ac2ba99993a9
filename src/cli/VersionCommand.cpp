// version: print the program's version (the same as --version).
#include <ostream>

#include "cli/Commands.h"

namespace brisna::cli {
namespace {

class VersionCommand : public Command {
  public:
    VersionCommand() {
        spec_.name = "version";
        spec_.summary = "print the version (as --version does)";
        spec_.details = {"Prints the program's name and version: `" + VersionLine() + "`."};
        spec_.summaryZh = "打印版本（与 --version 相同）";
        spec_.detailsZh = {"打印程序的名字和版本：`" + VersionLine() + "`。"};
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
