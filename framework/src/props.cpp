#include "framework/props.h"

#include <algorithm>
#include <charconv>

#include "format/text.h"

namespace {

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return LowerAscii(x) == LowerAscii(y);
         });
}

// A whole decimal number, optionally signed, or "0x" hexadecimal; surrounding
// blanks allowed. Anything else (empty, trailing junk, overflow) fails.
bool ParseInteger(std::string_view text, int64_t& out) {
  text = TrimView(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  } else if (!text.empty() && text[0] == '$') {  // the framework's own hex prefix
    base = 16;
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  uint64_t v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, base);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  if (negative) {
    if (v > uint64_t{1} << 63) return false;
    out = static_cast<int64_t>(0 - v);
  } else {
    if (v > static_cast<uint64_t>(INT64_MAX)) return false;
    out = static_cast<int64_t>(v);
  }
  return true;
}

std::string SetToText(const TEnumInfo& elements, int64_t mask) {
  std::string out = "[";
  bool first = true;
  for (size_t i = 0; i < elements.Names.size() && i < 64; ++i) {
    if (mask & (int64_t{1} << i)) {
      if (!first) out += ',';
      out += elements.Names[i];
      first = false;
    }
  }
  return out + "]";
}

bool TextToSet(const TEnumInfo& elements, std::string_view text, int64_t& mask) {
  text = TrimView(text);
  if (text.size() < 2 || text.front() != '[' || text.back() != ']') return false;
  text = text.substr(1, text.size() - 2);
  mask = 0;
  while (!TrimView(text).empty()) {
    size_t comma = text.find(',');
    std::string_view item = TrimView(text.substr(0, comma));
    int64_t v = elements.ValueOf(item);
    if (v < 0 || v >= 64) return false;
    mask |= int64_t{1} << v;
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return true;
}

}  // namespace

std::string TEnumInfo::NameOf(int64_t value) const {
  if (value < 0 || static_cast<uint64_t>(value) >= Names.size()) return {};
  return Names[static_cast<size_t>(value)];
}

int64_t TEnumInfo::ValueOf(std::string_view name) const {
  name = TrimView(name);
  for (size_t i = 0; i < Names.size(); ++i) {
    if (SameText(Names[i], name)) return static_cast<int64_t>(i);
  }
  return -1;
}

const TEnumInfo& BooleanIdents() {
  static const TEnumInfo idents{{"False", "True"}};
  return idents;
}

const TPropInfo* GetPropInfo(const TObject* instance, std::string_view name) {
  return instance ? instance->ClassInfo().FindProperty(name) : nullptr;
}

std::vector<const TPropInfo*> GetPropList(const TClassInfo& cls) {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = &cls; c; c = c->Parent())
    chain.push_back(c);
  std::vector<const TPropInfo*> out;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const TPropInfo& p : (*it)->OwnProperties()) {
      auto same = std::find_if(out.begin(), out.end(),
                               [&](const TPropInfo* q) { return SameText(q->Name, p.Name); });
      if (same != out.end()) {
        *same = &p;
      } else {
        out.push_back(&p);
      }
    }
  }
  return out;
}

std::string GetPropText(const TObject& instance, const TPropInfo& prop) {
  switch (prop.Kind) {
    case TPropKind::Integer:
      return std::to_string(prop.GetOrd(instance));
    case TPropKind::Enumeration:
    case TPropKind::Boolean:
      return prop.Enum->NameOf(prop.GetOrd(instance));
    case TPropKind::Set:
      return SetToText(*prop.Enum, prop.GetOrd(instance));
    case TPropKind::String:
      return prop.GetStr(instance);
    case TPropKind::Object: {
      TObject* o = prop.GetObj(instance);
      if (!o) return {};
      if (auto* c = dynamic_cast<TComponent*>(o); c && !c->Name().empty()) return c->Name();
      return o->ClassName();
    }
  }
  return {};
}

bool SetPropText(TObject& instance, const TPropInfo& prop, std::string_view text) {
  int64_t v = 0;
  switch (prop.Kind) {
    case TPropKind::Integer:
      if (!prop.SetOrd || !ParseInteger(text, v)) return false;
      break;
    case TPropKind::Enumeration:
    case TPropKind::Boolean:
      v = prop.Enum->ValueOf(text);
      if (!prop.SetOrd || v < 0) return false;
      break;
    case TPropKind::Set:
      if (!prop.SetOrd || !TextToSet(*prop.Enum, text, v)) return false;
      break;
    case TPropKind::String:
      if (!prop.SetStr) return false;
      prop.SetStr(instance, std::string(text));
      return true;
    case TPropKind::Object:
      return false;
  }
  prop.SetOrd(instance, v);
  return true;
}

int64_t GetOrdPropByName(const TObject* instance, std::string_view name) {
  const TPropInfo* p = GetPropInfo(instance, name);
  if (!p || p->Kind != TPropKind::Integer) return -1;
  return p->GetOrd(*instance);
}

std::string GetEnumPropByName(const TObject* instance, std::string_view name) {
  const TPropInfo* p = GetPropInfo(instance, name);
  if (!p || (p->Kind != TPropKind::Enumeration && p->Kind != TPropKind::Boolean)) return {};
  return p->Enum->NameOf(p->GetOrd(*instance));
}

std::string GetTextPropByName(const TObject* instance, std::string_view name) {
  const TPropInfo* p = GetPropInfo(instance, name);
  if (!p || p->Kind != TPropKind::String) return {};
  return p->GetStr(*instance);
}

TObject* GetObjectPropByName(const TObject* instance, std::string_view name,
                             const TClassInfo& cls) {
  const TPropInfo* p = GetPropInfo(instance, name);
  if (!p || p->Kind != TPropKind::Object) return nullptr;
  TObject* o = p->GetObj(*instance);
  return o && o->InheritsFrom(cls) ? o : nullptr;
}

bool SetPropFromText(TObject* instance, std::string_view name, std::string_view text) {
  const TPropInfo* p = GetPropInfo(instance, name);
  if (!p || p->Kind == TPropKind::Set || p->Kind == TPropKind::Object) return false;
  return SetPropText(*instance, *p, text);
}
