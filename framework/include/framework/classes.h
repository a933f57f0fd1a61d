// The object model every framework class is built on: run-time class
// information with lookup by name, persistent objects and components that
// own other components. Portable: nothing here needs the window system, so
// the model and the property registry are tested natively.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TObject;
struct TPropInfo;

// An event with only its sender.
using TNotifyEvent = std::function<void(TObject* sender)>;

// Run-time information of one framework class: its name, its parent class
// and the properties it publishes (see props.h). One instance per class,
// created on first use by the class's StaticClass().
class TClassInfo {
 public:
  using TPublishFn = void (*)(TClassInfo&);
  TClassInfo(const char* name, const TClassInfo* parent, TPublishFn publish);
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  const std::string& Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  // True for this class and every class derived from `ancestor`.
  bool InheritsFrom(const TClassInfo& ancestor) const;
  // The same by class name, ignoring letter case ("TCustomEdit").
  bool InheritsFrom(std::string_view ancestor_name) const;

  // Published properties declared by this class itself (not inherited).
  const std::vector<TPropInfo>& OwnProperties() const { return props_; }
  void AddProperty(TPropInfo prop);
  // This class's property or the nearest ancestor's, by name ignoring case.
  const TPropInfo* FindProperty(std::string_view name) const;

 private:
  std::string name_;
  const TClassInfo* parent_;
  std::vector<TPropInfo> props_;
};

// A class that has been used at least once, by name ignoring case; null when
// no such class has been seen.
const TClassInfo* FindClassInfo(std::string_view name);

// Declares the run-time class information of a framework class. `Self`'s
// published properties are registered by an optional
//   static void PublishProperties(TClassInfo& info);
// which runs once, when the class is first used.
#define MV_CLASS(Self, Base)                                                          \
 public:                                                                              \
  using inherited = Base;                                                             \
  static const TClassInfo& StaticClass() {                                            \
    static const TClassInfo info(#Self, &Base::StaticClass(),                         \
                                 &Self::PublishProperties == &Base::PublishProperties \
                                     ? nullptr                                        \
                                     : &Self::PublishProperties);                     \
    return info;                                                                      \
  }                                                                                   \
  const TClassInfo& ClassInfo() const override {                                      \
    return StaticClass();                                                             \
  }                                                                                   \
                                                                                      \
 private:

// The root of every framework class.
class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassInfo() const { return StaticClass(); }
  static void PublishProperties(TClassInfo&) {}

  const std::string& ClassName() const { return ClassInfo().Name(); }
  const TClassInfo* ClassParent() const { return ClassInfo().Parent(); }
  bool InheritsFrom(const TClassInfo& ancestor) const { return ClassInfo().InheritsFrom(ancestor); }
  bool InheritsFrom(std::string_view ancestor_name) const {
    return ClassInfo().InheritsFrom(ancestor_name);
  }
  template <class T>
  bool Is() const {
    return ClassInfo().InheritsFrom(T::StaticClass());
  }

  // Runs BeforeDestruction and deletes the object. Framework objects are
  // released with Free so that destroy events run while the whole object is
  // still alive; a null `this` is not allowed, use FreeAndNil for that.
  void Free();
  // Called by Create<T> once the most derived constructor has finished, and
  // by Free before the destructors run: the places for create and destroy
  // events that may call virtual functions.
  virtual void AfterConstruction() {}
  virtual void BeforeDestruction() {}
};

// Constructs a framework object and runs its AfterConstruction.
template <class T, class... Args>
T* Create(Args&&... args) {
  T* object = new T(std::forward<Args>(args)...);
  object->AfterConstruction();
  return object;
}

template <class T>
void FreeAndNil(T*& object) {
  T* o = object;
  object = nullptr;
  if (o) o->Free();
}

// Objects that can copy their state from another object of a compatible class.
class TPersistent : public TObject {
  MV_CLASS(TPersistent, TObject)
 public:
  // Copies `source`'s state; the default raises EConvertError-like
  // std::invalid_argument naming both classes.
  virtual void Assign(const TPersistent& source);
};

enum class TOperation { opInsert, opRemove };

// A named object with an owner. Owned components are freed with their owner;
// components told of each other's death through FreeNotification.
class TComponent : public TPersistent {
  MV_CLASS(TComponent, TPersistent)
 public:
  explicit TComponent(TComponent* owner = nullptr);
  ~TComponent() override;
  static void PublishProperties(TClassInfo& info);

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(static_cast<size_t>(index)); }
  // The owned component with this name, ignoring case; null when none.
  TComponent* FindComponent(std::string_view name) const;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t tag) { tag_ = tag; }

  // Asks for Notification(component, opRemove) on `this` when `component` is
  // destroyed (and the other way round).
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);
  bool Destroying() const { return destroying_; }

 protected:
  // Called for components inserted into or removed from this owner, and for
  // components this one asked free notification of when they die.
  virtual void Notification(TComponent* component, TOperation operation);

 private:
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> free_notifies_;
  std::string name_;
  intptr_t tag_ = 0;
  bool destroying_ = false;
};
