#pragma once
// What the command line of quorlin asks for: a command, its operands and its options.

#include <string>
#include <vector>

namespace cli {

enum class Command {
    Units, Routines, Jump, Report, ClassUnit, ClassDef, Methods, Swap, Insert, Components, Properties, Rename,
    Palette, DbAccess, VersionInfo, Version, Send, Listen, Form, Tasks, Help, Completion
};

struct CliOptions {
    Command Cmd = Command::Help;
    std::vector<std::string> Operands;  // after the command word; help: the command asked about,
                                        // completion: the shell
    std::string Home;                   // empty: the default data folder
    std::string Addin;                  // empty: the add-in beside the executable
    std::string Output;                 // report, class-unit: the file the save dialog is answered with
    std::string Notes;                  // tasks: the node whose notes are shown
    std::string Select;                 // properties, db-access: the component chosen in the designer
    std::string ClassName;              // class-unit, class-def, methods
    std::string BaseName;               // class-unit, class-def
    std::string Comments;               // class-unit, class-def: empty, or the comment style 0, 1 or 2
    std::string UnitComment;            // class-unit: the file of the unit comment's lines
    std::vector<std::string> Settings;  // version: the KEY=VALUE of each --set
    std::string Group;                  // send, listen: the group taken part as
    int Count = 0;                      // listen: messages to print before ending; 0: no limit
    bool Raw = false;
    bool Json = false;                  // a JSON document instead of text for people
    bool Unsorted = false;
    int Jobs = 0;                       // routines: worker processes; 0: one per processor
    bool Headers = false;               // routines: several files named, so each list gets a header
    bool Types = false;                 // properties: names with their type words
    bool Grid = false;                  // db-access: the control-grid routines
    // swap and insert: the block's first and last line, the cursor's line, the separator, the
    // file whose text the memo takes, whether all of it is selected, whether FILE stays untouched.
    int BlockFirst = 0;
    int BlockLast = 0;
    int CursorLine = 0;
    std::string Separator = ":=";
    std::string TextFile;
    bool Selected = false;
    bool DryRun = false;
    bool FormText = false;  // form: the whole form in the text form
};

}  // namespace cli
