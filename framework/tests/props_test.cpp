// The object model and the property registry, natively.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/props.h"

namespace {

std::vector<std::string>* g_freed = nullptr;

class TPart : public TPersistent {
  MV_CLASS(TPart, TPersistent)
};
class TSpecialPart : public TPart {
  MV_CLASS(TSpecialPart, TPart)
};

enum class TSide { Left, Top, Right };
const TEnumInfo kSideIdents{{"sdLeft", "sdTop", "sdRight"}};
const TEnumInfo kStyleIdents{{"stBold", "stItalic", "stUnderline"}};

class TWidget : public TComponent {
  MV_CLASS(TWidget, TComponent)
 public:
  using TComponent::TComponent;
  ~TWidget() override {
    if (g_freed) g_freed->push_back(Name());
  }
  static void PublishProperties(TClassInfo& info) {
    TPublisher<TWidget>(info)
        .Integer("Width", &TWidget::Width, &TWidget::SetWidth)
        .Integer("Count", &TWidget::Count)  // read-only
        .Enumeration("Side", kSideIdents, &TWidget::Side, &TWidget::SetSide)
        .Boolean("Visible", &TWidget::Visible, &TWidget::SetVisible)
        .Set("Style", kStyleIdents, &TWidget::Style, &TWidget::SetStyle)
        .String("Caption", &TWidget::Caption, &TWidget::SetCaption)
        .Object("Part", &TWidget::Part, &TWidget::SetPart);
  }
  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; }
  int Count() const { return 7; }
  TSide Side() const { return side_; }
  void SetSide(TSide v) { side_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  unsigned Style() const { return style_; }
  void SetStyle(unsigned v) { style_ = v; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v) { caption_ = v; }
  TPart* Part() const { return part_; }
  void SetPart(TPart* v) { part_ = v; }

 private:
  int width_ = 10;
  TSide side_ = TSide::Top;
  bool visible_ = true;
  unsigned style_ = 0b101;
  std::string caption_ = "Hello";
  TPart* part_ = nullptr;
};

// Inherits everything, redeclares Caption as read-only.
class TLabelWidget : public TWidget {
  MV_CLASS(TLabelWidget, TWidget)
 public:
  using TWidget::TWidget;
  static void PublishProperties(TClassInfo& info) {
    TPublisher<TLabelWidget>(info).String("caption", &TLabelWidget::Fixed);
  }
  std::string Fixed() const { return "fixed"; }
};

// No properties of its own.
class TPlainWidget : public TWidget {
  MV_CLASS(TPlainWidget, TWidget)
 public:
  using TWidget::TWidget;
};

TEST(ClassModel, NamesParentsAndInheritance) {
  TLabelWidget w;
  EXPECT_EQ(w.ClassName(), "TLabelWidget");
  EXPECT_EQ(w.ClassParent(), &TWidget::StaticClass());
  EXPECT_TRUE(w.InheritsFrom(TComponent::StaticClass()));
  EXPECT_TRUE(w.Is<TObject>());
  EXPECT_FALSE(w.Is<TPlainWidget>());
  struct Case {
    const char* name;
    bool inherits;
  } cases[] = {{"TLabelWidget", true}, {"twidget", true},   {"TCOMPONENT", true}, {"TObject", true},
               {"TPart", false},       {"TWidgetX", false}, {"TWidge", false},    {"", false}};
  for (const Case& c : cases)
    EXPECT_EQ(w.InheritsFrom(c.name), c.inherits) << c.name;
  EXPECT_EQ(FindClassInfo("tlabelwidget"), &TLabelWidget::StaticClass());
  EXPECT_EQ(FindClassInfo("TNoSuchClass"), nullptr);
}

TEST(Components, OwnedComponentsDieWithTheirOwnerLastFirst) {
  std::vector<std::string> freed;
  g_freed = &freed;
  auto* root = new TWidget(nullptr);
  root->SetName("root");
  auto* a = new TWidget(root);
  a->SetName("a");
  auto* b = new TWidget(root);
  b->SetName("b");
  (new TWidget(a))->SetName("a1");
  EXPECT_EQ(root->ComponentCount(), 2);
  EXPECT_EQ(root->FindComponent("B"), b);
  EXPECT_EQ(root->FindComponent("a1"), nullptr);  // not owned by root directly
  EXPECT_EQ(root->FindComponent(""), nullptr);
  b->Free();
  EXPECT_EQ(root->ComponentCount(), 1);
  root->Free();
  g_freed = nullptr;
  EXPECT_EQ(freed, (std::vector<std::string>{"b", "root", "a", "a1"}));
}

TEST(Components, InsertMovesBetweenOwners) {
  TWidget o1, o2;
  auto* c = new TWidget(&o1);
  o2.InsertComponent(c);
  EXPECT_EQ(c->Owner(), &o2);
  EXPECT_EQ(o1.ComponentCount(), 0);
  EXPECT_EQ(o2.ComponentCount(), 1);
}

class TWatcher : public TComponent {
 public:
  using TComponent::TComponent;
  std::vector<TComponent*> removed;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    if (op == TOperation::opRemove) removed.push_back(c);
  }
};

TEST(Components, FreeNotificationReachesTheWatcherOnce) {
  TWatcher watcher;
  auto* w = new TWidget(nullptr);
  watcher.FreeNotification(w);
  watcher.FreeNotification(w);  // twice asks once
  w->Free();
  ASSERT_EQ(watcher.removed.size(), 1u);
  EXPECT_EQ(watcher.removed[0], w);

  // A watcher that dies first is not called later.
  auto* w2 = new TWidget(nullptr);
  auto* early = new TWatcher(nullptr);
  early->FreeNotification(w2);
  early->Free();
  w2->Free();  // must not touch the dead watcher (ASan)

  // Removed notification: not called.
  auto* w3 = new TWidget(nullptr);
  watcher.FreeNotification(w3);
  watcher.RemoveFreeNotification(w3);
  w3->Free();
  EXPECT_EQ(watcher.removed.size(), 1u);
}

TEST(Properties, EngineReadOperations) {
  TWidget w;
  TSpecialPart part;
  w.SetPart(&part);
  // GetOrdPropByName: integer kind only.
  struct OrdCase {
    const char* name;
    int64_t expected;
  } ords[] = {{"Width", 10}, {"WIDTH", 10},   {"Count", 7},    {"Tag", 0},
              {"Side", -1},  {"Visible", -1}, {"Caption", -1}, {"Nope", -1}};
  for (const OrdCase& c : ords)
    EXPECT_EQ(GetOrdPropByName(&w, c.name), c.expected) << c.name;
  EXPECT_EQ(GetOrdPropByName(nullptr, "Width"), -1);

  struct TextCase {
    const char* name;
    const char* enum_text;
    const char* text;
  } texts[] = {{"Side", "sdTop", ""}, {"visible", "True", ""}, {"Caption", "", "Hello"},
               {"Width", "", ""},     {"Style", "", ""},       {"Missing", "", ""}};
  for (const TextCase& c : texts) {
    EXPECT_EQ(GetEnumPropByName(&w, c.name), c.enum_text) << c.name;
    EXPECT_EQ(GetTextPropByName(&w, c.name), c.text) << c.name;
  }
  EXPECT_EQ(GetObjectPropByName(&w, "Part", TPart::StaticClass()), &part);
  EXPECT_EQ(GetObjectPropByName(&w, "Part", TSpecialPart::StaticClass()), &part);
  EXPECT_EQ(GetObjectPropByName(&w, "Part", TComponent::StaticClass()), nullptr);
  EXPECT_EQ(GetObjectPropByName(&w, "Caption", TPart::StaticClass()), nullptr);
  w.SetPart(nullptr);
  EXPECT_EQ(GetObjectPropByName(&w, "Part", TPart::StaticClass()), nullptr);
}

TEST(Properties, SetPropFromText) {
  struct Case {
    const char* name;
    const char* text;
    bool ok;
    const char* after;  // GetPropText afterwards
  } cases[] = {
      {"Width", "42", true, "42"},
      {"width", " -3 ", true, "-3"},
      {"Width", "0x1F", true, "31"},
      {"Width", "12a", false, "10"},
      {"Width", "", false, "10"},
      {"Width", "99999999999999999999999", false, "10"},
      {"Count", "3", false, "7"},  // read-only
      {"Side", "sdright", true, "sdRight"},
      {"Side", "sdBottom", false, "sdTop"},
      {"Side", "2", false, "sdTop"},
      {"Visible", "False", true, "False"},
      {"Visible", "no", false, "True"},
      {"Caption", "", true, ""},
      {"Caption", "a b", true, "a b"},
      {"Style", "[stBold]", false, "[stBold,stUnderline]"},  // sets are not set this way
      {"Part", "x", false, ""},
      {"Missing", "1", false, nullptr},
  };
  for (const Case& c : cases) {
    TWidget w;
    EXPECT_EQ(SetPropFromText(&w, c.name, c.text), c.ok) << c.name << "=" << c.text;
    if (c.after) {
      EXPECT_EQ(GetPropText(w, *GetPropInfo(&w, c.name)), c.after) << c.name;
    }
  }
  EXPECT_FALSE(SetPropFromText(nullptr, "Width", "1"));
}

TEST(Properties, SetsAsText) {
  TWidget w;
  const TPropInfo* style = GetPropInfo(&w, "style");
  ASSERT_NE(style, nullptr);
  struct Case {
    const char* text;
    bool ok;
    const char* after;
  } cases[] = {{"[]", true, "[]"},
               {"[stItalic]", true, "[stItalic]"},
               {" [ stunderline , stBold ] ", true, "[stBold,stUnderline]"},
               {"[stBold,stNope]", false, "[stBold,stUnderline]"},
               {"stBold", false, "[stBold,stUnderline]"},
               {"[", false, "[stBold,stUnderline]"}};
  for (const Case& c : cases) {
    TWidget fresh;
    EXPECT_EQ(SetPropText(fresh, *style, c.text), c.ok) << c.text;
    EXPECT_EQ(GetPropText(fresh, *style), c.after) << c.text;
  }
}

TEST(Properties, InheritanceAndRedeclaration) {
  TLabelWidget l;
  TPlainWidget p;
  EXPECT_EQ(GetOrdPropByName(&p, "Width"), 10);
  EXPECT_EQ(GetTextPropByName(&l, "Caption"), "fixed");
  EXPECT_FALSE(SetPropFromText(&l, "Caption", "x"));  // redeclared read-only
  EXPECT_TRUE(SetPropFromText(&p, "Caption", "x"));
  EXPECT_TRUE(TPlainWidget::StaticClass().OwnProperties().empty());

  std::vector<std::string> names;
  for (const TPropInfo* prop : GetPropList(TLabelWidget::StaticClass()))
    names.push_back(prop->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Name", "Tag", "Width", "Count", "Side", "Visible",
                                             "Style", "caption", "Part"}));
}

TEST(Properties, ObjectPropertyRefusesWrongClass) {
  TWidget w;
  TPart part;
  TWidget other;
  const TPropInfo* p = GetPropInfo(&w, "Part");
  p->SetObj(w, &other);  // not a TPart: ignored
  EXPECT_EQ(w.Part(), nullptr);
  p->SetObj(w, &part);
  EXPECT_EQ(w.Part(), &part);
  other.SetName("Other");
  EXPECT_EQ(GetPropText(w, *p), "TPart");
}

}  // namespace
