// Published properties: a per-class registry of named, typed accessors that
// lets code read and write an object's properties knowing only their names
// (the skinning engine adjusts controls this way). Names ignore letter case;
// subclasses inherit their ancestors' properties and may redeclare them.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "framework/classes.h"

enum class TPropKind { Integer, Enumeration, Boolean, Set, String, Object };

// The identifiers of an enumeration, or of the elements of a set, in ordinal
// order ("alNone", "alClient"). Booleans use {"False", "True"}.
struct TEnumInfo {
  std::vector<std::string> Names;
  // The identifier of `value`; empty when out of range.
  std::string NameOf(int64_t value) const;
  // The ordinal of `name` (ignoring case), -1 when unknown.
  int64_t ValueOf(std::string_view name) const;
};
const TEnumInfo& BooleanIdents();

// One published property. Ordinal kinds (integer, enumeration, boolean, set:
// a bit mask with element i at bit i) use GetOrd/SetOrd; strings GetStr/SetStr;
// objects GetObj/SetObj. A property without a setter is read-only.
struct TPropInfo {
  std::string Name;
  TPropKind Kind = TPropKind::Integer;
  const TEnumInfo* Enum = nullptr;          // enumeration, boolean and set
  const TClassInfo* ObjectClass = nullptr;  // object: the declared class
  std::function<int64_t(const TObject&)> GetOrd;
  std::function<void(TObject&, int64_t)> SetOrd;
  std::function<std::string(const TObject&)> GetStr;
  std::function<void(TObject&, const std::string&)> SetStr;
  std::function<TObject*(const TObject&)> GetObj;
  std::function<void(TObject&, TObject*)> SetObj;
  bool ReadOnly() const { return !SetOrd && !SetStr && !SetObj; }
};

// Typed registration helper used inside PublishProperties:
//   TPublisher<TControl>(info).Integer("Left", &TControl::Left, &TControl::SetLeft);
template <class C>
class TPublisher {
 public:
  explicit TPublisher(TClassInfo& info) : info_(info) {}

  template <class V>
  TPublisher& Integer(const char* name, V (C::*get)() const, void (C::*set)(V) = nullptr) {
    TPropInfo p = Ordinal(name, TPropKind::Integer, nullptr, get, set);
    info_.AddProperty(std::move(p));
    return *this;
  }
  template <class V>
  TPublisher& Enumeration(const char* name, const TEnumInfo& idents, V (C::*get)() const,
                          void (C::*set)(V) = nullptr) {
    info_.AddProperty(Ordinal(name, TPropKind::Enumeration, &idents, get, set));
    return *this;
  }
  TPublisher& Boolean(const char* name, bool (C::*get)() const, void (C::*set)(bool) = nullptr) {
    info_.AddProperty(Ordinal(name, TPropKind::Boolean, &BooleanIdents(), get, set));
    return *this;
  }
  // A set held as a bit mask of element ordinals.
  template <class V>
  TPublisher& Set(const char* name, const TEnumInfo& elements, V (C::*get)() const,
                  void (C::*set)(V) = nullptr) {
    info_.AddProperty(Ordinal(name, TPropKind::Set, &elements, get, set));
    return *this;
  }
  template <class R>
  TPublisher& String(const char* name, R (C::*get)() const,
                     void (C::*set)(const std::string&) = nullptr) {
    TPropInfo p;
    p.Name = name;
    p.Kind = TPropKind::String;
    p.GetStr = [get](const TObject& o) { return std::string((static_cast<const C&>(o).*get)()); };
    if (set) p.SetStr = [set](TObject& o, const std::string& v) { (static_cast<C&>(o).*set)(v); };
    info_.AddProperty(std::move(p));
    return *this;
  }
  // An object property of declared class V.
  template <class V>
  TPublisher& Object(const char* name, V* (C::*get)() const, void (C::*set)(V*) = nullptr) {
    TPropInfo p;
    p.Name = name;
    p.Kind = TPropKind::Object;
    p.ObjectClass = &V::StaticClass();
    p.GetObj = [get](const TObject& o) -> TObject* { return (static_cast<const C&>(o).*get)(); };
    if (set) {
      p.SetObj = [set](TObject& o, TObject* v) {
        if (!v || v->InheritsFrom(V::StaticClass())) (static_cast<C&>(o).*set)(static_cast<V*>(v));
      };
    }
    info_.AddProperty(std::move(p));
    return *this;
  }

 private:
  template <class V>
  static TPropInfo Ordinal(const char* name, TPropKind kind, const TEnumInfo* idents,
                           V (C::*get)() const, void (C::*set)(V)) {
    TPropInfo p;
    p.Name = name;
    p.Kind = kind;
    p.Enum = idents;
    p.GetOrd = [get](const TObject& o) {
      return static_cast<int64_t>((static_cast<const C&>(o).*get)());
    };
    if (set) {
      p.SetOrd = [set](TObject& o, int64_t v) { (static_cast<C&>(o).*set)(static_cast<V>(v)); };
    }
    return p;
  }
  TClassInfo& info_;
};

// --- Generic access -------------------------------------------------------

// The property of `instance`'s class (or an ancestor) by name; null when the
// instance is null or has no such property.
const TPropInfo* GetPropInfo(const TObject* instance, std::string_view name);
// Every published property of the class, ancestors' first, a redeclared
// property listed once in its ancestor's place.
std::vector<const TPropInfo*> GetPropList(const TClassInfo& cls);

// Any property's value as text: integers in decimal, enumerations and
// booleans as their identifier, sets as "[a,b]", strings as they are, objects
// as the component name (or class name) or "" for none.
std::string GetPropText(const TObject& instance, const TPropInfo& prop);
// Sets a property from text in the form GetPropText produces. Returns false,
// leaving the property unchanged, when the text does not fit the kind (not a
// number, an unknown identifier) or the property is read-only or an object.
bool SetPropText(TObject& instance, const TPropInfo& prop, std::string_view text);

// --- The operations the skinning engine uses ---------------------------------

// The value of an integer-kind property; -1 when the instance is null, the
// property is missing, or it has another kind.
int64_t GetOrdPropByName(const TObject* instance, std::string_view name);
// The identifier of an enumeration or boolean property's value ("True",
// "alClient"); empty when missing or of another kind.
std::string GetEnumPropByName(const TObject* instance, std::string_view name);
// A string property's value; empty when missing or of another kind.
std::string GetTextPropByName(const TObject* instance, std::string_view name);
// The object held by an object property when it is of class `cls`; null
// otherwise.
TObject* GetObjectPropByName(const TObject* instance, std::string_view name, const TClassInfo& cls);
// Integer kind: `text` as a decimal (or "0x" hexadecimal) number; enumeration
// and boolean kinds: the value named `text`; string kind: `text`. Returns
// false and changes nothing for missing or read-only properties, other kinds
// (sets, objects), and text that does not fit.
bool SetPropFromText(TObject* instance, std::string_view name, std::string_view text);
