// kelno-cli: the batch tool on the Kelno core. Analyses, converts and renders circuit files
// without any window.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "command_line.h"
#include "commands.h"
#include "io/kel_file.h"

namespace {

const char* kHelp =
    "使い方: kelno-cli COMMAND [ARGS]\n"
    "\n"
    "Kelno の回路ﾌｧｲﾙ (.kel) を画面なしで扱います。\n"
    "\n"
    "COMMAND:\n"
    "  analyze FILE.kel [--json] [--open-newer]\n"
    "      ﾌｧｲﾙを開いて回路を解析し、素子ごとの種類、端点、抵抗、起電力、電流を表示します。\n"
    "      --json       結果を JSON で出力します。\n"
    "      --open-newer 新しい版のﾌｧｲﾙもそのまま開きます。\n"
    "  convert IN.kel OUT.kel [--open-newer]\n"
    "      ﾌｧｲﾙを開いて解析し、版 1.06 の形式で保存し直します。\n"
    "  convert IN.kel OUT.txt [--open-newer]\n"
    "      回路全体をｸﾘｯﾌﾟﾎﾞｰﾄﾞのﾃｷｽﾄ形式 (KelnoData) で書き出します。\n"
    "  convert IN.kel OUT.cir [--open-newer]\n"
    "      回路を SPICE のﾈｯﾄﾘｽﾄ (直流動作点解析) で書き出します。ngspice -b OUT.cir で\n"
    "      電流を確かめられます。素子 k の電流は V<k> があればその電流の符号を変えたもの、\n"
    "      なければ R<k> を流れる電流です。\n"
    "  convert IN.txt OUT.kel\n"
    "      ｸﾘｯﾌﾟﾎﾞｰﾄﾞのﾃｷｽﾄ形式を新しい文書に貼り付けて保存します。\n"
    "  render FILE.kel -o OUT.png|OUT.bmp|OUT.svg|OUT.pdf [--size WxH] [--grid] [--no-flow]\n"
    "         [--explain] [--predict] [--potentials] [--open-newer]\n"
    "      回路を画面と同じように描きます。PNG と BMP は 96 dpi の画面の大きさで、白地に\n"
    "      描いた W x H 画素の画像 (既定はﾌｧｲﾙに記録された窓の大きさ) です。SVG は同じ絵を\n"
    "      文字を文字のまま書いた図形です。PDF は印刷と同じく実寸 (部品の本体が 16 mm) で\n"
    "      1 ﾍﾟｰｼﾞに描きます。画面は要りません。\n"
    "      --size WxH   画像の幅と高さ (画素) を指定します。\n"
    "      --grid       5 mm おきの方眼を描きます。\n"
    "      --no-flow    電流の向きの矢印を描きません。\n"
    "      --explain    回路に有限の解がないとき、そうなった閉路の素子を赤く塗って示します。\n"
    "      --predict    予想ﾓｰﾄﾞ: 計器の値、電球の電力と明かり、電流の矢印を隠します。\n"
    "      --potentials 電池のある部分の各点に、最初の電池の - 極から測った電位を書きます。\n"
    "  draw-calls FILE.kel [--size WxH] [--grid] [--no-flow] [--explain] [--predict]\n"
    "         [--potentials] [--open-newer]\n"
    "      render と同じ絵を描くときの描画の呼び出しを、1 行に 1 つずつ書き出します。\n"
    "      ﾃﾞｽｸﾄｯﾌﾟ版と WebAssembly 版が同じ絵を描くことを確かめるためのものです。\n"
    "\n"
    "  --help     この説明を表示します。\n"
    "  --version  版を表示します。\n"
    "\n"
    "終了ｺｰﾄﾞ: 0 成功、1 入力を使えない、2 使い方の誤り。\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace kelno::cli;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(kHelp, stderr);
        return kExitUsage;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kHelp, stdout);
        return kExitOk;
    }
    if (command == "--version") {
        std::printf("kelno-cli %d.%02d\n", kelno::kFormatVersion / 100,
                    kelno::kFormatVersion % 100);
        return kExitOk;
    }
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::fputs(kHelp, stdout);
            return kExitOk;
        }
    }
    if (command == "analyze") {
        return RunAnalyze(args);
    }
    if (command == "convert") {
        return RunConvert(args);
    }
    if (command == "render") {
        return RunRender(args);
    }
    if (command == "draw-calls") {
        return RunDrawCalls(args);
    }
    PrintError("不明なｺﾏﾝﾄﾞです: " + command + " (kelno-cli --help で使い方を表示します)");
    return kExitUsage;
}
