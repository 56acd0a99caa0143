#include "StreamSamples.h"

#include "platform/Exceptions.h"
#include "platform/StreamForm.h"

#include <gtest/gtest.h>

#include <QPointer>

using namespace vandora;
using namespace vandora::samples;

namespace {

class StreamReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterSampleClasses();
        Log().clear();
    }
};

const char* const kForm = R"(object Form: TSampleForm
  object First: TSampleComponent
    Count = 3
    Enabled = False
    Caption = 'K'#246'ln'
    Kind = skThird
    Color = clYellow
    Cursor = crHandPoint
    Options = [soBold, soUnderline]
    Small = -5
    Tag = 42
    Font.Name = 'Tahoma'
    Font.Size = 11
    Items = <
      item
        Caption = 'a'
        Value = 1
        Outline = (
          2
          90
          1.5
          2.5
          3
          double:4.0)
      end
      item 9
        Caption = 'b'
      end>
    OnChange = ChangeHandler
    OnValue = ValueHandler
  end
  object Second: TSampleComponent
    Color = 12345
    Cursor = -7
  end
end
)";

} // namespace

TEST_F(StreamReaderTest, AppliesEveryPropertyKindThroughItsSetter)
{
    TSampleForm form;
    ReadForm(kForm, form);
    ASSERT_NE(form.First, nullptr);
    const TSampleComponent& first = *form.First;
    EXPECT_EQ(first.Count(), 3);
    EXPECT_FALSE(first.Enabled());
    EXPECT_EQ(first.Caption(), "K\xC3\xB6ln");
    EXPECT_EQ(first.Kind(), skThird);
    EXPECT_EQ(first.Color(), clYellow);
    EXPECT_EQ(first.Cursor(), -21);
    EXPECT_EQ(first.Options(), unsigned(soBold | soUnderline));
    EXPECT_EQ(first.Small(), -5);
    EXPECT_EQ(first.Tag, 42);
    EXPECT_EQ(form.First->Font().Name(), "Tahoma");
    EXPECT_EQ(form.First->Font().Size(), 11);

    // Integers and doubles are accepted where reals are expected; the item's leading
    // integer is skipped.
    TSampleItems& items = *form.First->Items();
    ASSERT_EQ(items.Count(), 2);
    EXPECT_EQ(items.Item(0)->Caption(), "a");
    EXPECT_EQ(items.Item(0)->Angle, 90);
    EXPECT_EQ(items.Item(0)->Points, (std::vector<double>{1.5, 2.5, 3.0, 4.0}));
    EXPECT_EQ(items.Item(1)->Caption(), "b");

    auto* second = dynamic_cast<TSampleComponent*>(form.FindComponent("Second"));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Color(), 12345);
    EXPECT_EQ(second->Cursor(), -7);
    // Not stored: creation values stay.
    EXPECT_TRUE(second->Enabled());
    EXPECT_EQ(second->Font().Size(), 8);
}

TEST_F(StreamReaderTest, ChildrenAreCreatedNamedOwnedAndBoundToFields)
{
    TSampleForm form;
    ReadForm(kForm, form);
    EXPECT_EQ(form.Name(), "Form");
    ASSERT_EQ(form.ComponentCount(), 2);
    EXPECT_EQ(form.Components(0), form.First);
    EXPECT_EQ(form.Components(0)->Name(), "First");
    EXPECT_EQ(form.Components(1)->Name(), "Second");
    EXPECT_EQ(form.First->Owner(), &form);

    const std::unique_ptr<TComponent> created = ReadForm(kForm);
    ASSERT_NE(dynamic_cast<TSampleForm*>(created.get()), nullptr);
    EXPECT_EQ(created->ComponentCount(), 2);
}

TEST_F(StreamReaderTest, EventsBindToTheFormsMethodsByName)
{
    TSampleForm form;
    ReadForm(kForm, form);
    TSampleComponent& first = *form.First;
    EXPECT_EQ(first.OnChange.MethodName(), "ChangeHandler");
    first.OnChange(&first);
    first.OnValue(&form, 7);
    EXPECT_EQ(form.Changes, (std::vector<TObject*>{&first}));
    ASSERT_EQ(form.Values.size(), 1u);
    EXPECT_EQ(form.Values[0], std::make_pair(static_cast<TObject*>(&form), 7));

    // A method whose parameters do not fit, or one the form lacks, is a bad value.
    const auto errorOf = [](const std::string& text) {
        TSampleForm other;
        try {
            ReadForm(QByteArray::fromStdString(text), other);
        } catch (const EReadError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(errorOf("object F: TSampleForm\n  object C: TSampleComponent\n    OnChange = ValueHandler\n  end\nend\n"),
              "Invalid property value: method ValueHandler does not take the parameters of OnChange "
              "(component C: TSampleComponent, property OnChange, line 3)");
    EXPECT_EQ(errorOf("object F: TSampleForm\n  object C: TSampleComponent\n    OnChange = Missing\n  end\nend\n"),
              "Invalid property value: TSampleForm has no method Missing "
              "(component C: TSampleComponent, property OnChange, line 3)");
}

TEST_F(StreamReaderTest, AFormWithoutMethodsKeepsBindingsByName)
{
    const char* const text = "object F: TPlainForm\n  object C: TSampleComponent\n    OnChange = Button2Click\n  end\nend\n";
    TPlainForm form;
    ReadForm(text, form);
    auto& child = dynamic_cast<TSampleComponent&>(*form.Components(0));
    EXPECT_FALSE(child.OnChange);
    EXPECT_EQ(child.OnChange.MethodName(), "Button2Click");
    // nil takes a binding away.
    ReadForm("object C: TSampleComponent\n  OnChange = nil\nend\n", child);
    EXPECT_EQ(child.OnChange.MethodName(), "");
    ReadForm("object C: TSampleComponent\n  OnChange = Button2Click\nend\n", child);
    EXPECT_EQ(WriteFormText(form), "object F: TPlainForm\n"
                                   "  object C: TSampleComponent\n"
                                   "    Count = 0\n"
                                   "    Color = clBlack\n"
                                   "    OnChange = Button2Click\n"
                                   "  end\n"
                                   "end\n");
}

TEST_F(StreamReaderTest, LoadedRunsRootFirstAfterEverythingIsRead)
{
    TSampleForm form;
    ReadForm(kForm, form);
    // While its properties were set, a component is loading and reading; in Loaded only
    // loading; afterwards neither.
    EXPECT_EQ(form.First->StateInSetter, unsigned(csLoading | csReading));
    const std::string loading = std::to_string(unsigned(csLoading));
    EXPECT_EQ(Log(), (std::vector<std::string>{"Update", "Loaded Form " + loading, "Loaded First " + loading,
                                               "Loaded Second " + loading}));
    EXPECT_EQ(form.ComponentState(), 0u);
    EXPECT_EQ(form.First->ComponentState(), 0u);
}

TEST_F(StreamReaderTest, AnErrorFromLoadedNamesTheComponentAndUndoesTheRead)
{
    TSampleComponent::FailLoadedOf = "Second";
    const int alive = TSampleComponent::Alive;
    TSampleForm form;
    try {
        ReadForm(kForm, form);
        ADD_FAILURE() << "read";
    } catch (const EReadError& e) {
        const std::string what = e.what();
        EXPECT_EQ(what.rfind("Loading failed: not ready (component Second: TSampleComponent, line ", 0), 0u) << what;
    }
    TSampleComponent::FailLoadedOf.clear();
    EXPECT_EQ(TSampleComponent::Alive, alive);
    EXPECT_EQ(form.First, nullptr);
    EXPECT_EQ(form.ComponentCount(), 0);
}

TEST_F(StreamReaderTest, CollectionsAreReadInOneBatch)
{
    // An empty stored list leaves the items as they are.
    TSampleComponent empty;
    TSampleItems& emptyItems = *empty.Items();
    emptyItems.Add();
    ReadForm("object C: TSampleComponent\n  Items = <>\nend\n", empty);
    EXPECT_EQ(emptyItems.Count(), 1);

    // A stored list replaces them, item by item inside one batch.
    ReadForm("object C: TSampleComponent\n  Items = <\n    item\n      Value = 5\n    end>\nend\n", empty);
    ASSERT_EQ(emptyItems.Count(), 1);
    EXPECT_EQ(emptyItems.Item(0)->Value(), 5);
    EXPECT_EQ(emptyItems.BatchAtLastAdd, 1);
    EXPECT_EQ(emptyItems.UpdateCount, 2); // one per read, none for the items
}

TEST_F(StreamReaderTest, WidgetsBecomeChildrenOfTheWidgetTheyAreNestedIn)
{
    const char* const text = "object Window: TSampleWidgetForm\n"
                             "  object Outer: TSampleWidget\n"
                             "    Left = 8\n"
                             "    object Inner: TSampleWidget\n"
                             "      Left = 3\n"
                             "    end\n"
                             "  end\n"
                             "end\n";
    TSampleWidgetForm window;
    ReadForm(text, window);
    auto* outer = dynamic_cast<TSampleWidget*>(window.FindComponent("Outer"));
    auto* inner = dynamic_cast<TSampleWidget*>(window.FindComponent("Inner"));
    ASSERT_TRUE(outer && inner);
    EXPECT_EQ(outer->parentWidget(), &window);
    EXPECT_EQ(inner->parentWidget(), outer);
    EXPECT_EQ(inner->Owner(), &window);
    EXPECT_EQ(outer->Left(), 8);
    window.show();
    EXPECT_TRUE(inner->isVisible());
    // Written back nested the same way.
    EXPECT_EQ(WriteFormText(window), text);
}

TEST_F(StreamReaderTest, OwnedComponentsDieWithTheirOwnerWhicheverGoesFirst)
{
    const int before = TSampleComponent::Alive;
    {
        TSampleForm form;
        ReadForm(kForm, form);
        EXPECT_EQ(TSampleComponent::Alive, before + 2);
        delete form.FindComponent("Second");
        EXPECT_EQ(form.ComponentCount(), 1);
    }
    EXPECT_EQ(TSampleComponent::Alive, before);
    {
        auto window = std::make_unique<TSampleWidgetForm>();
        ReadForm("object W: TSampleWidgetForm\n  object A: TSampleWidget\n  end\nend\n", *window);
        QPointer<QWidget> child = dynamic_cast<QWidget*>(window->Components(0));
        window.reset();
        EXPECT_TRUE(child.isNull());
    }
}
