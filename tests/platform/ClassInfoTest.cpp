// Mistakes in declaring the published classes are refused with a message that names them.
#include "platform/ClassInfo.h"
#include "platform/ClassRegistry.h"
#include "platform/Component.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

using namespace vandora;

namespace {

std::unique_ptr<TClassInfo> Info(const std::string& name, const std::string& parent)
{
    return std::make_unique<TClassInfo>(name, parent, [](const TObject&) { return false; }, nullptr);
}

template <class Exception, class Fn>
std::string ErrorOf(Fn&& fn)
{
    try {
        fn();
    } catch (const Exception& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(ClassInfoTest, AParentMissingOrInALoopIsNamed)
{
    const auto orphan = Info("TClassInfoOrphan", "TClassInfoNoSuchParent");
    EXPECT_EQ(ErrorOf<EClassNotFound>([&] { orphan->Parent(); }),
              "Class TClassInfoNoSuchParent, the parent of TClassInfoOrphan, is not registered");

    TClassRegistry& registry = TClassRegistry::Instance();
    const TClassInfo& a = registry.Register(Info("TClassInfoLoopA", "TClassInfoLoopB"));
    registry.Register(Info("TClassInfoLoopB", "TClassInfoLoopA"));
    EXPECT_EQ(ErrorOf<EInvalidOperation>([&] { a.FindProperty("Anything"); }),
              "The parents of class TClassInfoLoopA form a loop");
}

// A name is registered once; an object is known by its table only when the table's
// instance test accepts it (another class may give the same name).
TEST(ClassInfoTest, TheRegistryHoldsEachNameOnceAndChecksTheObjectsClass)
{
    TClassRegistry& registry = TClassRegistry::Instance();
    registry.Register(Info("TClassInfoOnce", ""));
    EXPECT_EQ(ErrorOf<EInvalidOperation>([&] { registry.Register(Info("TClassInfoOnce", "")); }),
              "Class TClassInfoOnce is registered twice");

    class TImpostor final : public TObject {
    public:
        const char* ClassName() const override { return "TClassInfoOnce"; }
    } impostor;
    EXPECT_NE(registry.Find("TClassInfoOnce"), nullptr);
    EXPECT_EQ(registry.FindFor(impostor), nullptr);
}

TEST(ClassInfoTest, AClassWithoutAFactoryIsNotCreated)
{
    const auto abstract = Info("TClassInfoAbstract", "");
    EXPECT_FALSE(abstract->CanCreate());
    EXPECT_EQ(ErrorOf<EClassNotFound>([&] { abstract->Create(); }),
              "Class TClassInfoAbstract cannot be created from a form");
}

TEST(ClassInfoTest, ANameDeclaredTwiceIsRefused)
{
    const auto info = Info("TClassInfoTwice", "");
    TPropertyInfo property;
    property.Name = "Width";
    info->AddProperty(property);
    EXPECT_EQ(ErrorOf<EInvalidOperation>([&] { info->AddProperty(property); }),
              "Class TClassInfoTwice declares property Width twice");
    info->AddMethod(TMethodInfo{"Click", nullptr});
    EXPECT_EQ(ErrorOf<EInvalidOperation>([&] { info->AddMethod(TMethodInfo{"Click", nullptr}); }),
              "Class TClassInfoTwice declares method Click twice");
    info->AddField(TFieldInfo{"Button1", nullptr});
    EXPECT_EQ(ErrorOf<EInvalidOperation>([&] { info->AddField(TFieldInfo{"Button1", nullptr}); }),
              "Class TClassInfoTwice declares field Button1 twice");
    EXPECT_EQ(info->Properties().size(), 1u);
}
