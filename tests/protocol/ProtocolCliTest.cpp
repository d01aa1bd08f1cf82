#include "CliRunner.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

TEST(ProtocolCli, FrameAndImageSum)
{
    EXPECT_EQ(RunCli({"frame", "01"}).out, "[0001D3]\n");
    EXPECT_EQ(RunCli({"frame", "23FF"}).out, "[0023FF39]\n");
    EXPECT_EQ(RunCli({"frame", "0x"}).code, 64);
    EXPECT_EQ(RunCli({"frame"}).code, 64);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    QByteArray image(24576, '\0');
    image[0] = 1;
    EXPECT_EQ(RunCli({"imgsum", write("one.bin", image)}).out, "0001\n");
    image.fill('\0');
    for (int i = 0; i < 64; ++i) image[i] = char(0xFF);
    // 64 cells of 255 give 65532, then 24512 rotations of zero, a multiple of 16.
    EXPECT_EQ(RunCli({"imgsum", write("ff.bin", image)}).out, "FFFC\n");
    const CliResult shortFile = RunCli({"imgsum", write("short.bin", QByteArray(100, 'x'))});
    EXPECT_EQ(shortFile.code, 1);
    EXPECT_EQ(shortFile.out, "");
    EXPECT_EQ(RunCli({"imgsum", dir.filePath("missing.bin")}).code, 1);
}
