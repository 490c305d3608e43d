#pragma once

#include <string>
#include <vector>

namespace db {

// Builds the client library's connection parameter block from parameter lines
// (NAME=value, the name optionally prefixed "isc_dpb_", any letter case).
// Blank lines are skipped. Throws EIBError "DPB Constant (%s) is unknown" for a
// name the library does not have and "DPB Constant (isc_dpb_%s) is unsupported"
// for one this layer does not send.
std::string BuildDPB(const std::vector<std::string>& params);

// Builds the transaction parameter block from parameter lines (a name, or
// NAME=value for the table reservations; optional "isc_tpb_" prefix). Empty
// lines give an empty block (no block at all: the library's defaults apply).
// Throws EIBError "TPB Constant (%s) is unknown" / "TPB Constant (isc_tpb_%s) is
// unsupported".
std::string BuildTPB(const std::vector<std::string>& params);

// Keeps a parameter block together with the lines it was built from, so that
// it is rebuilt only when the lines changed.
class ParamBlockCache {
public:
    using Builder = std::string (*)(const std::vector<std::string>&);
    explicit ParamBlockCache(Builder builder) : builder_(builder) {}

    const std::string& get(const std::vector<std::string>& params);

private:
    Builder builder_;
    bool built_ = false;
    std::vector<std::string> source_;
    std::string block_;
};

} // namespace db
