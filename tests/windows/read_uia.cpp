// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a window as a Windows screen reader does, through UI Automation: finds the top-level
// window whose title begins with the argument and prints the window and every element under it,
// one per line in UTF-8: its control type, a tab, its name, a tab, and its toggle state ("on",
// "off"; "-" where the element offers no Toggle pattern; "?" where the client cannot tell).
// Exits 2 when no such window is shown yet, 1 when UI Automation fails.
//
// With --win32 first, it prints the texts of the window's child windows instead, one per line:
// what a screen reader reads of a plain Windows dialog (a message box) through Windows' own
// UI Automation proxies, which wine does not have.
#include <cstdio>
#include <string>
#include <uiautomation.h>
#include <windows.h>

namespace {

struct Search {
    std::wstring prefix;
    HWND found = nullptr;
};

BOOL CALLBACK visitWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    if (IsWindowVisible(window) && std::wstring(title).starts_with(search->prefix)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

const char* typeName(CONTROLTYPEID type) {
    switch (type) {
    case UIA_ButtonControlTypeId:
        return "Button";
    case UIA_CheckBoxControlTypeId:
        return "CheckBox";
    case UIA_EditControlTypeId:
        return "Edit";
    case UIA_GroupControlTypeId:
        return "Group";
    case UIA_HyperlinkControlTypeId:
        return "Hyperlink";
    case UIA_ImageControlTypeId:
        return "Image";
    case UIA_PaneControlTypeId:
        return "Pane";
    case UIA_TextControlTypeId:
        return "Text";
    case UIA_WindowControlTypeId:
        return "Window";
    default:
        return "Other";
    }
}

std::string utf8(const wchar_t* text) {
    if (text == nullptr || *text == 0) {
        return {};
    }
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), bytes, nullptr, nullptr);
    result.pop_back(); // the terminating zero
    return result;
}

std::string toggleState(IUIAutomationElement* element) {
    VARIANT available;
    VariantInit(&available);
    if (FAILED(
            element->GetCurrentPropertyValue(UIA_IsTogglePatternAvailablePropertyId, &available)) ||
        available.vt != VT_BOOL) {
        VariantClear(&available);
        return "?";
    }
    if (available.boolVal == VARIANT_FALSE) {
        return "-";
    }
    VARIANT state;
    VariantInit(&state);
    const bool known =
        SUCCEEDED(element->GetCurrentPropertyValue(UIA_ToggleToggleStatePropertyId, &state)) &&
        state.vt == VT_I4;
    const std::string result = !known ? "?" : state.lVal == ToggleState_On ? "on" : "off";
    VariantClear(&state);
    return result;
}

void print(IUIAutomationElement* element, int depth) {
    CONTROLTYPEID type = 0;
    BSTR name = nullptr;
    element->get_CurrentControlType(&type);
    element->get_CurrentName(&name);
    const std::string line = std::string(static_cast<std::size_t>(depth) * 2, ' ') +
                             typeName(type) + '\t' + utf8(name) + '\t' + toggleState(element) +
                             '\n';
    SysFreeString(name);
    std::fwrite(line.data(), 1, line.size(), stdout);
}

// The element and, indented below it, its children (wine's tree walkers are not implemented;
// its FindAll is).
bool printTree(IUIAutomationElement* element, IUIAutomationCondition* everything, int depth) {
    print(element, depth);
    IUIAutomationElementArray* children = nullptr;
    int length = 0;
    if (FAILED(element->FindAll(TreeScope_Children, everything, &children))) {
        return false;
    }
    if (children == nullptr) { // no children, as wine says it
        return true;
    }
    if (FAILED(children->get_Length(&length))) {
        children->Release();
        return false;
    }
    bool ok = true;
    for (int i = 0; i < length && ok; ++i) {
        IUIAutomationElement* child = nullptr;
        ok = SUCCEEDED(children->GetElement(i, &child)) && printTree(child, everything, depth + 1);
        if (child != nullptr) {
            child->Release();
        }
    }
    children->Release();
    return ok;
}

BOOL CALLBACK printChildText(HWND child, LPARAM) {
    wchar_t text[1024] = {};
    GetWindowTextW(child, text, 1024);
    const std::string line = utf8(text) + '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const bool win32 = argc == 3 && std::wstring(argv[1]) == L"--win32";
    if (argc != 2 && !win32) {
        std::fputs("usage: read_uia [--win32] TITLE-PREFIX\n", stderr);
        return 1;
    }
    Search search{argv[argc - 1]};
    EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) {
        std::fputs("read_uia: no such window is shown\n", stderr);
        return 2;
    }
    if (win32) {
        EnumChildWindows(search.found, printChildText, 0);
        std::fflush(stdout);
        return 0;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IUIAutomation* automation = nullptr;
    IUIAutomationElement* window = nullptr;
    IUIAutomationCondition* everything = nullptr;
    if (FAILED(CoCreateInstance(__uuidof(CUIAutomation), nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(IUIAutomation), reinterpret_cast<void**>(&automation))) ||
        FAILED(automation->ElementFromHandle(search.found, &window)) ||
        FAILED(automation->CreateTrueCondition(&everything)) || !printTree(window, everything, 0)) {
        std::fputs("read_uia: UI Automation failed\n", stderr);
        return 1;
    }
    std::fflush(stdout);
    everything->Release();
    window->Release();
    automation->Release();
    CoUninitialize();
    return 0;
}
