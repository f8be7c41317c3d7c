// The version commands: the version strings of a program file, and a project's version record
// shown or stored through the add-in's version window.

#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "Commands.h"
#include "JsonOutput.h"
#include "platform/Cp932.h"
#include "platform/FilePath.h"
#include "platform/HostFolder.h"
#include "platform/IniFile.h"
#include "toolkit/Application.h"
#include "version/VersionInfoList.h"

namespace cli {

namespace {

constexpr uint16_t KeyStore = 0x74;  // F5 in the version window

}  // namespace

int Commands::VersionInfo()
{
    const std::string& file = options_.Operands[0];
    if (!CheckReadable(file))
        return 1;
    std::vector<std::string> list;
    quorlin::ReadVersionInfoList(file, list);
    if (list.empty()) {
        Fail(file + ": the version resource has no translation table");
        return 1;
    }
    if (!options_.Json) {
        for (const std::string& entry : list)
            Print(Shown(entry));
        return 0;
    }
    // A missing value reads "None"; JSON says null.
    nlohmann::ordered_json strings = nullptr;
    if (list.size() == std::size(quorlin::VersionInfoKeys)) {
        strings = nlohmann::ordered_json::object();
        for (size_t i = 0; i < list.size(); ++i) {
            std::string key = std::string(quorlin::VersionInfoKeys[i]).substr(1);
            strings[key] = list[i] == "None" ? nullptr : nlohmann::ordered_json(Shown(list[i]));
        }
    }
    PrintJson(out_, {{"file", file}, {"strings", std::move(strings)}});
    return 0;
}

int Commands::Version()
{
    const std::string& project = options_.Operands[0];
    std::vector<std::pair<std::string, std::string>> settings;
    for (const std::string& setting : options_.Settings) {
        size_t equals = setting.find('=');
        if (equals == std::string::npos || equals == 0) {
            Fail("--set takes KEY=VALUE, not " + setting);
            return 1;
        }
        std::string value = setting.substr(equals + 1);
        settings.emplace_back(setting.substr(0, equals), options_.Raw ? value : platform::Utf8ToCp932(value));
    }
    if (!OpenProject(project))
        return 1;

    // In the window, as a person would: type each value into its field, then F5 to store, or Esc.
    bool opened = false;
    std::string error;
    std::vector<std::pair<std::string, std::string>> record;
    desktop_.SetModalAnswer([&](tk::Form& window) {
        opened = true;
        for (auto& [key, value] : settings) {
            auto* field = dynamic_cast<tk::Edit*>(window.FindComponent(key));
            if (!field) {
                error = "the version record has no field " + key;
                window.DispatchKey(tk::VK_ESCAPE, 0);
                return window.ModalResult();
            }
            key = field->Name();
            field->SetText(value);
        }
        for (int i = 0; i < window.ComponentCount(); ++i) {
            if (auto* field = dynamic_cast<tk::Edit*>(window.Components(i)))
                record.emplace_back(field->Name(), field->Text());
        }
        window.DispatchKey(settings.empty() ? tk::VK_ESCAPE : KeyStore, 0);
        return window.ModalResult();
    });
    int messages = desktop_.MessageCount();
    bool clicked = ClickMenuItem("VerMenu");
    desktop_.SetModalAnswer(nullptr);
    if (!clicked)
        return 1;
    if (!opened) {
        // A refused project name has been named by the add-in's message.
        if (desktop_.MessageCount() == messages)
            Fail(project + ": the version window did not open");
        return 1;
    }
    if (!error.empty()) {
        Fail(error);
        return 1;
    }
    std::string fileName = platform::HostFolder() + "Version.ini";
    auto stored = platform::IniFile::ReadOnly(fileName);
    for (const auto& [key, value] : settings) {
        if (stored->ReadString(platform::ExtractFileName(project), key, "") != value) {
            Fail(fileName + ": the version record could not be stored");
            return 1;
        }
    }
    if (options_.Json) {
        nlohmann::ordered_json fields = nlohmann::ordered_json::object();
        for (const auto& [key, value] : record)
            fields[key] = Shown(value);
        PrintJson(out_, {{"project", project}, {"record", std::move(fields)}});
        return 0;
    }
    for (const auto& [key, value] : record)
        Print(Shown(key + "=" + value));
    return 0;
}

}  // namespace cli
