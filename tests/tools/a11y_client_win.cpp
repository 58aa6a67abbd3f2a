// A small accessibility client for the end-to-end tier, working the way a
// screen reader does from its own process: it finds the main window by its
// class, takes its client object with AccessibleObjectFromWindow and
//   tree         prints the tree, one element per line, "role|name|state"
//                (children of an element indented by two spaces), in UTF-8;
//   do NAME      performs the default action of the first element named NAME;
//   value NAME   prints the value of the first element named NAME;
//   query L      sends WM_QUERYENDSESSION with lParam L and prints the answer;
//   end W L      sends WM_ENDSESSION with wParam W and lParam L (a close for
//                an installer: query 1, then end 1 1, ENDSESSION_CLOSEAPP).
// Exit code 1 when the main window or its object is not there, 2 when no
// element has the name, 3 when the action fails.
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "ui/win32/accessible_win.h"
#include "ui/win_base/text_win.h"

namespace {

const char* RoleName(LONG role) {
  static const std::pair<LONG, const char*> names[] = {
      {ROLE_SYSTEM_CLIENT, "client"},      {ROLE_SYSTEM_PUSHBUTTON, "push button"},
      {ROLE_SYSTEM_RADIOBUTTON, "radio button"}, {ROLE_SYSTEM_STATICTEXT, "text"},
      {ROLE_SYSTEM_LINK, "link"},          {ROLE_SYSTEM_PROGRESSBAR, "progress bar"},
      {ROLE_SYSTEM_GRAPHIC, "graphic"},    {ROLE_SYSTEM_GROUPING, "grouping"},
      {ROLE_SYSTEM_TEXT, "editable text"}, {ROLE_SYSTEM_SPINBUTTON, "spin button"}};
  for (const auto& [value, name] : names) {
    if (value == role) return name;
  }
  return "other";
}

std::string States(LONG state) {
  static const std::pair<LONG, const char*> flags[] = {
      {STATE_SYSTEM_FOCUSED, "focused"},     {STATE_SYSTEM_FOCUSABLE, "focusable"},
      {STATE_SYSTEM_CHECKED, "checked"},     {STATE_SYSTEM_UNAVAILABLE, "unavailable"},
      {STATE_SYSTEM_INVISIBLE, "invisible"}, {STATE_SYSTEM_READONLY, "read only"},
      {STATE_SYSTEM_LINKED, "linked"}};
  std::string out;
  for (const auto& [bit, name] : flags) {
    if (state & bit) out.append(out.empty() ? "" : ",").append(name);
  }
  return out.empty() ? "normal" : out;
}

// A name or a value in UTF-8, with CR and LF shown as \r and \n.
std::string Text(IAccessible* acc, LONG child, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
  BSTR text = nullptr;
  if ((acc->*get)(ui::LongVariant(child), &text) != S_OK || !text) return {};
  std::string out;
  for (char c : ui::Narrow(text)) out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
  SysFreeString(text);
  return out;
}

// An element: its object, and its child id in that object.
struct Element {
  IAccessible* acc;
  LONG child;
  int depth;
};

// Every element under `acc` in order, depth first. The objects returned are
// held by the caller's list of owned objects.
void Walk(IAccessible* acc, int depth, std::vector<Element>& out, std::vector<IAccessible*>& owned) {
  LONG count = 0;
  if (acc->get_accChildCount(&count) != S_OK || count <= 0) return;
  std::vector<VARIANT> children(static_cast<size_t>(count));
  LONG got = 0;
  if (FAILED(AccessibleChildren(acc, 0, count, children.data(), &got))) return;
  for (LONG i = 0; i < got; ++i) {
    VARIANT& v = children[static_cast<size_t>(i)];
    IDispatch* dispatch = nullptr;
    if (v.vt == VT_DISPATCH && v.pdispVal) {
      dispatch = v.pdispVal;
      dispatch->AddRef();
    } else if (v.vt == VT_I4 && (acc->get_accChild(v, &dispatch) != S_OK || !dispatch)) {
      out.push_back({acc, v.lVal, depth});  // a simple element: no object of its own
      dispatch = nullptr;
    }
    IAccessible* inner = nullptr;
    if (dispatch && SUCCEEDED(dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&inner)))) {
      owned.push_back(inner);
      out.push_back({inner, CHILDID_SELF, depth});
      Walk(inner, depth + 1, out, owned);
    }
    if (dispatch) dispatch->Release();
    VariantClear(&v);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring command = argc > 1 ? argv[1] : L"tree";
  std::string target = argc > 2 ? ui::Narrow(argv[2]) : std::string();
  HWND main = FindWindowW(L"QuondaHalvixMainWindow", nullptr);
  if (!main) return 1;
  if (command == L"query" || command == L"end") {
    const bool query = command == L"query";
    const auto number = [&](int i) { return argc > i ? _wtoi(argv[i]) : 0; };
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(main, query ? WM_QUERYENDSESSION : WM_ENDSESSION, query ? 0 : number(2),
                        number(query ? 2 : 3), SMTO_ABORTIFHUNG, 5000, &answer);
    if (query) std::printf("%d\n", static_cast<int>(answer));
    return 0;
  }
  CoInitialize(nullptr);
  IAccessible* root = nullptr;
  if (FAILED(AccessibleObjectFromWindow(main, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&root)))) {
    CoUninitialize();
    return 1;
  }
  std::vector<Element> elements;
  std::vector<IAccessible*> owned;
  Walk(root, 0, elements, owned);
  int code = 0;
  if (command == L"tree") {
    for (const Element& e : elements) {
      VARIANT role, state;
      VariantInit(&role);
      VariantInit(&state);
      e.acc->get_accRole(ui::LongVariant(e.child), &role);
      e.acc->get_accState(ui::LongVariant(e.child), &state);
      std::printf("%s%s|%s|%s\n", std::string(static_cast<size_t>(e.depth) * 2, ' ').c_str(),
                  RoleName(role.vt == VT_I4 ? role.lVal : 0), Text(e.acc, e.child, &IAccessible::get_accName).c_str(),
                  States(state.vt == VT_I4 ? state.lVal : 0).c_str());
    }
  } else {
    code = 2;
    for (const Element& e : elements) {
      if (Text(e.acc, e.child, &IAccessible::get_accName) != target) continue;
      if (command == L"value") {
        std::printf("%s\n", Text(e.acc, e.child, &IAccessible::get_accValue).c_str());
        code = 0;
      } else {
        code = SUCCEEDED(e.acc->accDoDefaultAction(ui::LongVariant(e.child))) ? 0 : 3;
      }
      break;
    }
  }
  std::fflush(stdout);
  for (IAccessible* a : owned) a->Release();
  root->Release();
  CoUninitialize();
  return code;
}
