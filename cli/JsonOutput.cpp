#include "JsonOutput.h"

#include <nlohmann/json.hpp>

namespace cli {

void PrintJson(std::FILE* out, const nlohmann::ordered_json& document)
{
    std::string text = document.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), out);
}

}  // namespace cli
