#pragma once
// Installs a fresh ScriptedDesktop for one test and puts the silent default back afterwards.

#include "toolkit/Application.h"
#include "toolkit/ScriptedDesktop.h"

struct ScriptedScope {
    ScriptedScope() { tk::Application::Instance().SetDesktop(&desktop); }
    ~ScriptedScope()
    {
        tk::Application::Instance().ProcessMessages();
        tk::Application::Instance().SetDesktop(nullptr);
    }
    tk::ScriptedDesktop desktop;
};
