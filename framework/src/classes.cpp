#include "framework/classes.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "framework/props.h"
#include "format/text.h"

namespace {

// Every class seen so far, by lower-case name.
std::map<std::string, const TClassInfo*>& ClassRegistry() {
  static std::map<std::string, const TClassInfo*> registry;
  return registry;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return LowerAscii(x) == LowerAscii(y);
         });
}

}  // namespace

TClassInfo::TClassInfo(const char* name, const TClassInfo* parent, TPublishFn publish)
    : name_(name), parent_(parent) {
  ClassRegistry()[LowerAscii(name_)] = this;
  if (publish) publish(*this);
}

bool TClassInfo::InheritsFrom(const TClassInfo& ancestor) const {
  for (const TClassInfo* c = this; c; c = c->parent_) {
    if (c == &ancestor) return true;
  }
  return false;
}

bool TClassInfo::InheritsFrom(std::string_view ancestor_name) const {
  for (const TClassInfo* c = this; c; c = c->parent_) {
    if (SameText(c->name_, ancestor_name)) return true;
  }
  return false;
}

void TClassInfo::AddProperty(TPropInfo prop) {
  for (TPropInfo& p : props_) {
    if (SameText(p.Name, prop.Name)) {
      p = std::move(prop);
      return;
    }
  }
  props_.push_back(std::move(prop));
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_) {
    for (const TPropInfo& p : c->props_) {
      if (SameText(p.Name, name)) return &p;
    }
  }
  return nullptr;
}

const TClassInfo* FindClassInfo(std::string_view name) {
  auto it = ClassRegistry().find(LowerAscii(name));
  return it == ClassRegistry().end() ? nullptr : it->second;
}

const TClassInfo& TObject::StaticClass() {
  static const TClassInfo info("TObject", nullptr, nullptr);
  return info;
}

void TObject::Free() {
  BeforeDestruction();
  delete this;
}

void TPersistent::Assign(const TPersistent& source) {
  throw std::invalid_argument("Cannot assign a " + source.ClassName() + " to a " + ClassName());
}

// --- TComponent ---------------------------------------------------------------

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  destroying_ = true;
  // Tell everyone who asked; they drop their references to us.
  while (!free_notifies_.empty()) {
    TComponent* other = free_notifies_.back();
    free_notifies_.pop_back();
    auto& theirs = other->free_notifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    other->Notification(this, TOperation::opRemove);
  }
  // Owned components die with their owner, the last created first.
  while (!components_.empty()) {
    TComponent* c = components_.back();
    c->Free();  // removes itself from components_
    if (!components_.empty() && components_.back() == c) components_.pop_back();
  }
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::PublishProperties(TClassInfo& info) {
  TPublisher<TComponent>(info)
      .String("Name", &TComponent::Name, &TComponent::SetName)
      .Integer("Tag", &TComponent::Tag, &TComponent::SetTag);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_) {
    if (SameText(c->name_, name)) return c;
  }
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->owner_ == this) return;
  if (component->owner_) component->owner_->RemoveComponent(component);
  components_.push_back(component);
  component->owner_ = this;
  Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it == components_.end()) return;
  components_.erase(it);
  component->owner_ = nullptr;
  Notification(component, TOperation::opRemove);
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(free_notifies_.begin(), free_notifies_.end(), component) == free_notifies_.end()) {
    free_notifies_.push_back(component);
  }
  auto& theirs = component->free_notifies_;
  if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  free_notifies_.erase(std::remove(free_notifies_.begin(), free_notifies_.end(), component),
                       free_notifies_.end());
  auto& theirs = component->free_notifies_;
  theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Notification(TComponent*, TOperation) {}
