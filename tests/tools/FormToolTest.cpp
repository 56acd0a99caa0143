#include "tools/form/FormFiles.h"
#include "tools/form/FormTool.h"

#include "platform/StreamForm.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

using namespace vandora;
using namespace vandora::formtool;

namespace {

struct TResult {
    int code = -1;
    std::string out;
    std::string err;
};

TResult RunTool(const std::vector<std::string>& args, const TFormTool& tool = TFormTool())
{
    std::ostringstream out;
    std::ostringstream err;
    TResult result;
    result.code = tool.Run(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

std::string Data(const std::string& name)
{
    return std::string(VANDORA_FORM_TEST_DATA) + "/" + name;
}

} // namespace

TEST(FormToolTest, ConvertsAHandWrittenFormBothWays)
{
    QTemporaryDir dir;
    const std::string binary = dir.filePath("form.bin").toStdString();
    const std::string text = dir.filePath("form.txt").toStdString();
    ASSERT_EQ(RunTool({"to-binary", Data("handwritten.form"), "-o", binary}).code, kExitOk);
    const QByteArray bytes = ReadFile(binary);
    EXPECT_TRUE(IsBinaryForm(bytes));

    const TResult toText = RunTool({"to-text", binary});
    ASSERT_EQ(toText.code, kExitOk) << toText.err;
    EXPECT_EQ(toText.out, FormToText(ReadFile(Data("handwritten.form"))));
    EXPECT_NE(toText.out.find("        PolyPoints = (\n          3\n          0\n"), std::string::npos);

    // Back to binary from the printed text: the same bytes.
    WriteFile(text, QByteArray::fromStdString(toText.out));
    ASSERT_EQ(RunTool({"to-binary", "--output", binary + "2", text}).code, kExitOk);
    EXPECT_EQ(ReadFile(binary + "2"), bytes);
    // Binary in, binary out: a copy.
    ASSERT_EQ(RunTool({"to-binary", binary, "-o", binary + "3"}).code, kExitOk);
    EXPECT_EQ(ReadFile(binary + "3"), bytes);
}

TEST(FormToolTest, CheckExitsWithTheVerdict)
{
    const TResult good = RunTool({"check", Data("handwritten.form")});
    EXPECT_EQ(good.code, kExitOk);
    EXPECT_EQ(good.out, Data("handwritten.form") + ": a valid text form\n");

    const TResult bad = RunTool({"check", Data("truncated.form")});
    EXPECT_EQ(bad.code, kExitFailed);
    // Named as a compiler names a file, so that a build converting several forms says which.
    EXPECT_EQ(bad.err, "vandora-form: " + Data("truncated.form") +
                           ": The text ends where 'end' is expected (component Morvane1: TMorvane, property "
                           "HotSpots[0], line 7)\n");

    const TResult missing = RunTool({"check", Data("no-such.form")});
    EXPECT_EQ(missing.code, kExitFailed);
    EXPECT_NE(missing.err.find("Cannot read"), std::string::npos);
}

TEST(FormToolTest, AFailedConversionWritesNothing)
{
    QTemporaryDir dir;
    const std::string out = dir.filePath("out.bin").toStdString();
    const TResult malformed = RunTool({"to-binary", Data("truncated.form"), "-o", out});
    EXPECT_EQ(malformed.code, kExitFailed);
    EXPECT_EQ(malformed.err.rfind("vandora-form: " + Data("truncated.form") + ": ", 0), 0u) << malformed.err;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out)));
    EXPECT_EQ(RunTool({"to-text", Data("truncated.form")}).out, "");

    // An output that cannot be written is named itself, not blamed on the form.
    const std::string nowhere = dir.filePath("no-such-folder/out.bin").toStdString();
    const TResult unwritable = RunTool({"to-binary", Data("handwritten.form"), "-o", nowhere});
    EXPECT_EQ(unwritable.code, kExitFailed);
    EXPECT_EQ(unwritable.err.rfind("vandora-form: Cannot write " + nowhere + ": ", 0), 0u) << unwritable.err;
}

TEST(FormToolTest, AnOutputThatCannotTakeTheFormIsAFailure)
{
    // Standard output on a full disk or a closed pipe: every write fails.
    struct TFull : std::streambuf {
        int overflow(int) override { return traits_type::eof(); }
    } full;
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"to-text", Data("handwritten.form")}, {"check", Data("handwritten.form")},
             {"list", Data("handwritten.form")}, {"--help"}, {"help", "check"}}) {
        std::ostream out(&full);
        std::ostringstream err;
        EXPECT_EQ(TFormTool().Run(args, out, err), kExitFailed) << args[0];
        EXPECT_EQ(err.str(), "vandora-form: cannot write the output\n") << args[0];
    }

    // A named pipe given as OUT is written into, not replaced by a file nobody reads.
    QTemporaryDir dir;
    const std::string pipe = dir.filePath("pipe").toStdString();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const TResult written = RunTool({"to-binary", Data("handwritten.form"), "-o", pipe});
    EXPECT_EQ(written.code, kExitOk) << written.err;
    EXPECT_FALSE(QFileInfo(dir.filePath("pipe")).isFile());
    QByteArray received(4096, '\0');
    const ssize_t size = read(reader, received.data(), received.size());
    close(reader);
    ASSERT_GT(size, 0);
    received.resize(size);
    EXPECT_EQ(received, FormToBinary(ReadFile(Data("handwritten.form"))));

    // A descriptor named by path ("{ echo header; vandora-form ... -o /dev/stdout; } > out")
    // is written at its own place: what was written before stays, what comes after follows.
    const std::string shared = dir.filePath("shared.bin").toStdString();
    const int fd = open(shared.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "header", 6), 6);
    const TResult intoFd = RunTool({"to-binary", Data("handwritten.form"), "-o", "/dev/fd/" + std::to_string(fd)});
    EXPECT_EQ(intoFd.code, kExitOk) << intoFd.err;
    EXPECT_EQ(write(fd, "trailer", 7), 7);
    close(fd);
    EXPECT_EQ(ReadFile(shared), "header" + FormToBinary(ReadFile(Data("handwritten.form"))) + "trailer");

    // /dev/stdout is the process's own standard output, wherever that leads.
    const std::string redirected = dir.filePath("stdout.bin").toStdString();
    std::fflush(stdout);
    const int original = dup(STDOUT_FILENO);
    const int into = open(redirected.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(original, 0);
    ASSERT_GE(into, 0);
    dup2(into, STDOUT_FILENO);
    close(into);
    const TResult toStdout = RunTool({"to-binary", Data("handwritten.form"), "-o", "/dev/stdout"});
    dup2(original, STDOUT_FILENO);
    close(original);
    EXPECT_EQ(toStdout.code, kExitOk) << toStdout.err;
    EXPECT_EQ(ReadFile(redirected), FormToBinary(ReadFile(Data("handwritten.form"))));
}

TEST(FormToolTest, EveryCommandHasHelpAndWrongUsageSaysHow)
{
    for (const char* command : {"to-text", "to-binary", "check"}) {
        const TResult help = RunTool({command, "--help"});
        EXPECT_EQ(help.code, kExitOk) << command;
        EXPECT_EQ(help.out.rfind(std::string("Usage: vandora-form ") + command, 0), 0u) << help.out;
    }
    EXPECT_EQ(RunTool({"--help"}).code, kExitOk);
    EXPECT_EQ(RunTool({}).code, kExitUsage);
    EXPECT_EQ(RunTool({"frobnicate"}).code, kExitUsage);
    const TResult helpOnNothing = RunTool({"help", "frobnicate"});
    EXPECT_EQ(helpOnNothing.code, kExitUsage);
    EXPECT_EQ(helpOnNothing.out, "");
    EXPECT_EQ(helpOnNothing.err.rfind("vandora-form: unknown command 'frobnicate'\n", 0), 0u);
    EXPECT_EQ(RunTool({"check"}).err, "Usage: vandora-form check FILE\n");
    EXPECT_EQ(RunTool({"to-binary", Data("handwritten.form")}).err, "Usage: vandora-form to-binary -o OUT FILE\n");
    EXPECT_EQ(RunTool({"to-text", "--verbose", "x"}).code, kExitUsage);
    const TResult noValue = RunTool({"to-binary", Data("handwritten.form"), "-o"});
    EXPECT_EQ(noValue.code, kExitUsage);
    EXPECT_EQ(noValue.err, "vandora-form to-binary: -o needs OUT\n");
    // Only a command with options lists them.
    EXPECT_NE(RunTool({"to-binary", "--help"}).out.find("\nOptions:\n  -o, --output OUT"), std::string::npos);
    EXPECT_EQ(RunTool({"check", "--help"}).out.find("Options:"), std::string::npos);
    // Without a command, or with an unknown one, the overview goes where errors go.
    const TResult nothing = RunTool({});
    EXPECT_EQ(nothing.out, "");
    EXPECT_EQ(nothing.err.rfind("Usage: vandora-form COMMAND", 0), 0u) << nothing.err;
    EXPECT_NE(RunTool({"frobnicate"}).err.find("\nCommands:\n"), std::string::npos);
}

TEST(FormToolTest, CommandsCanBeAdded)
{
    TFormTool tool;
    TCommand count;
    count.Name = "count";
    count.Operands = {"FILE"};
    count.Summary = "count the bytes";
    count.Run = [](const TArguments& args, std::ostream& out, std::ostream&) {
        out << ReadFile(args.Positional[0]).size();
        return kExitOk;
    };
    count.Options = {{"unit", 'u', "UNIT", "what to count in", false}};
    tool.AddCommand(count);
    EXPECT_NE(RunTool({"--help"}, tool).out.find("  count       count the bytes\n"), std::string::npos);
    EXPECT_EQ(RunTool({"count", Data("truncated.form")}, tool).out, "126");
    // An option that is not required is shown in brackets and may be left out.
    EXPECT_EQ(RunTool({"count", "--help"}, tool).out.rfind("Usage: vandora-form count [-u UNIT] FILE\n", 0), 0u);
    EXPECT_EQ(RunTool({"count", "-u", "bytes", Data("truncated.form")}, tool).out, "126");
}
