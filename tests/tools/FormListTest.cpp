// The commands that read a form into real components: list and check.
#include "tools/form/FormTool.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace vandora::formtool;

namespace {

std::string Data(const std::string& name)
{
    return std::string(VANDORA_FORM_TEST_DATA) + "/" + name;
}

int RunTool(const std::vector<std::string>& args, std::string& out, std::string& err)
{
    std::ostringstream o, e;
    const int code = TFormTool().Run(args, o, e);
    out = o.str();
    err = e.str();
    return code;
}

// A text form in dir whose map holds one hotspot with the given property line (line 5).
std::string FormWithOneHotSpot(const QTemporaryDir& dir, const std::string& property)
{
    const std::string path = dir.filePath("one.form").toStdString();
    std::ofstream(path) << "object Form2: TForm2\n"
                           "  object Morvane1: TMorvane\n"
                           "    HotSpots = <\n"
                           "      item\n"
                           "        "
                        << property << "\n"
                        << "      end>\n"
                           "  end\n"
                           "end\n";
    return path;
}

} // namespace

TEST(FormListTest, ListsTheHotspotsOfAFormWhoseClassItDoesNotKnow)
{
    std::string out, err;
    ASSERT_EQ(RunTool({"list", Data("handwritten.form")}, out, err), kExitOk) << err;
    // The box comes from the three points, rounded: 164..168 by 252..256.
    EXPECT_EQ(out, "Index\tID\tName\tShapeType\tX\tY\tWidth\tHeight\tPoints\tAngle\n"
                   "0\t21\tLuxemburg\tstPolygon\t164\t252\t4\t4\t3\t0\n");
}

TEST(FormListTest, CheckLooksUpEveryPropertyOfTheRealClasses)
{
    std::string out, err;
    EXPECT_EQ(RunTool({"check", Data("unknown-property.form")}, out, err), kExitFailed);
    EXPECT_NE(err.find("Bogus"), std::string::npos) << err;
    EXPECT_NE(err.find("Map"), std::string::npos) << err;
    EXPECT_EQ(RunTool({"list", Data("unknown-property.form")}, out, err), kExitFailed);
}

TEST(FormListTest, AnErrorInATextFormNamesItsLine)
{
    QTemporaryDir dir;
    const std::string path = FormWithOneHotSpot(dir, "ID = 'x'");
    for (const char* command : {"check", "list"}) {
        std::string out, err;
        EXPECT_EQ(RunTool({command, path}, out, err), kExitFailed);
        EXPECT_EQ(err, "vandora-form: " + path +
                           ": Invalid property value (component Morvane1: TMorvane, property HotSpots[0].ID, line 5)\n")
            << command;
    }
}

TEST(FormListTest, ANameWithControlCharactersKeepsItsLineAndTheTerminalSafe)
{
    QTemporaryDir dir;
    const std::string path = FormWithOneHotSpot(dir, "Name = 'North'#9'Sea'#13#10#27'[2J'#233");
    std::string out, err;
    ASSERT_EQ(RunTool({"list", path}, out, err), kExitOk) << err;
    EXPECT_EQ(out, "Index\tID\tName\tShapeType\tX\tY\tWidth\tHeight\tPoints\tAngle\n"
                   "0\t0\tNorth#9Sea#13#10#27[2J\xC3\xA9\tstRectangle\t0\t0\t0\t0\t0\t0\n");
}

TEST(FormListTest, AnEllipseIsListedByItsShapesName)
{
    QTemporaryDir dir;
    std::string out, err;
    ASSERT_EQ(RunTool({"list", FormWithOneHotSpot(dir, "ShapeType = stEllipse")}, out, err), kExitOk) << err;
    EXPECT_NE(out.find("\tstEllipse\t"), std::string::npos) << out;
}
