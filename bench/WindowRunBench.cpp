// SPDX-License-Identifier: MIT
//
// What the window costs a generation run, on Qt's offscreen platform:
//
//  - throughput: the same run (pattern, options, seed, number of accepted
//    puzzles) once headless, as `cluemill-cli generate` does it, and once in
//    the window, started by a click on "Generate Sudokus". With the same seed
//    both faces try the same candidates, so the times compare the same work;
//  - halt latency: from a click on "Halt Generator", queued at a random
//    moment of a run as a user's click would be, to the end of the run (the
//    "Generator halted" message).
//
// See bench/README.md.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <numeric>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/Main.h"
#include "cli/Cli.h"
#include "generator/RandomSource.h"
#include "qt/MainWindow.h"
#include "qt/QtPlatform.h"

namespace {

using Clock = std::chrono::steady_clock;
using cluemill::kCells;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

struct Config {
    std::string Pattern;
    std::vector<std::string> Options;  // as cluemill-cli generate takes them
    std::int64_t Count = 0;
};

std::string Describe(const Config& config) {
    std::string text = config.Pattern;
    for (const std::string& option : config.Options) text += ' ' + option;
    return text;
}

// The window's platform with the random numbers of `cluemill-cli generate
// --seed S`: with the same seed the two faces try the same candidates. At
// every renewal of the base (which follows every accepted puzzle) it halts
// the run once `count` puzzles are accepted.
class SeededPlatform final : public cluemill::QtPlatform {
  public:
    SeededPlatform(std::string folder, std::uint64_t seed)
        : QtPlatform(std::move(folder)), random_(seed) {}
    double Random() override { return random_.Random(); }
    void Randomize() override {
        random_.Randomize();
        if (main_ == nullptr || count_ <= 0) return;
        const auto& accepted = main_->Generator.NewCount;
        if (std::accumulate(accepted.begin(), accepted.end(), std::int64_t{0}) >= count_) {
            main_->CommandHalt_Click();
        }
    }
    void HaltAfter(cluemill::Main& main, std::int64_t count) {
        main_ = &main;
        count_ = count;
    }

  private:
    cluemill::StreamRandom random_;
    cluemill::Main* main_ = nullptr;
    std::int64_t count_ = 0;
};

struct RunResult {
    std::int64_t Candidates = 0;
    double Seconds = 0;
    double Rate() const { return Seconds > 0 ? static_cast<double>(Candidates) / Seconds : 0; }
};

// `cluemill-cli generate --pattern P --seed S --count N --jobs 1 ...` in this
// process (one run, as the window makes); its own figures, read from its
// summary.
std::optional<RunResult> Headless(const Config& config, std::uint64_t seed) {
    QTemporaryDir folder;
    std::vector<std::string> args = {"--pattern",  config.Pattern,
                                     "--seed",     std::to_string(seed),
                                     "--count",    std::to_string(config.Count),
                                     "--jobs",     "1",
                                     "--data-dir", QFile::encodeName(folder.path()).toStdString()};
    args.insert(args.end(), config.Options.begin(), config.Options.end());
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    if (cluemill::RunGenerate(args, in, out, err) != 0) {
        std::cerr << err.str();
        return std::nullopt;
    }
    // "... N candidates in T s (R per second), A accepted"
    std::istringstream summary(err.str());
    std::string line;
    while (std::getline(summary, line)) {
        RunResult result;
        char s = 0;
        if (std::sscanf(line.c_str(), "%ld candidates in %lf %c", &result.Candidates,
                        &result.Seconds, &s) == 3 &&
            s == 's') {
            return result;
        }
    }
    std::cerr << "no summary in:\n" << err.str();
    return std::nullopt;
}

// A window on a fresh data folder, with the configuration's pattern drawn
// and its options chosen through the widgets.
class Window {
  public:
    Window(const Config& config, std::uint64_t seed)
        : platform_(QFile::encodeName(folder_.path()).toStdString(), seed),
          main_(platform_),
          // Settings of the bench's own, never the user's.
          settings_(folder_.filePath(QStringLiteral("cluemill.conf")), QSettings::IniFormat),
          window_(main_, platform_, settings_) {
        platform_.SetMessageBoxHook([this](const std::string& text, const std::string&) {
            message_ = text;
            messageTime_ = Clock::now();
        });
        window_.Start();
        const cluemill::Pattern clues = cluemill::DecodePattern(config.Pattern);
        for (int i = 0; i < kCells; ++i) {
            if (clues[i])
                QTest::mouseClick(Widget<QLabel>(QStringLiteral("Grid(%1)").arg(i)),
                                  Qt::LeftButton);
        }
        for (std::size_t i = 0; i < config.Options.size(); ++i) {
            const std::string& option = config.Options[i];
            if (option == "--minimal")
                Widget<QAbstractButton>(QStringLiteral("CheckMinimal"))->click();
            if (option == "--limit") Widget<QAbstractButton>(QStringLiteral("CheckLimit"))->click();
            if (option == "--expand") {
                const QString name =
                    QStringLiteral("Option1(%1)").arg(QString::fromStdString(config.Options[++i]));
                Widget<QAbstractButton>(name)->click();
            }
        }
        platform_.HaltAfter(main_, config.Count);
    }

    template <class W>
    W* Widget(const QString& name) {
        W* widget = window_.findChild<W*>(name);
        if (widget == nullptr) {
            std::cerr << "no widget " << name.toStdString() << '\n';
            std::exit(1);
        }
        return widget;
    }

    // Clicks "Generate Sudokus"; returns when the run has ended.
    RunResult Generate() {
        const auto start = Clock::now();
        Widget<QPushButton>(QStringLiteral("CommandGenerate"))->click();
        return {main_.Generator.CandidatesTried, Seconds(Clock::now() - start)};
    }

    cluemill::Main& Engine() { return main_; }
    const std::string& Message() const { return message_; }
    Clock::time_point MessageTime() const { return messageTime_; }

  private:
    QTemporaryDir folder_;
    SeededPlatform platform_;
    cluemill::Main main_;
    QSettings settings_;
    cluemill::MainWindow window_;
    std::string message_;
    Clock::time_point messageTime_{};
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Headless and window runs of the same work, alternating; medians.
bool CompareThroughput(const Config& config, std::uint64_t seed, int repeats) {
    std::vector<double> headlessRates;
    std::vector<double> windowRates;
    std::int64_t headlessCandidates = 0;
    std::int64_t windowCandidates = 0;
    double headlessSeconds = 0;
    double windowSeconds = 0;
    for (int r = 0; r < repeats; ++r) {
        const std::optional<RunResult> headless = Headless(config, seed);
        if (!headless) return false;
        Window window(config, seed);
        const RunResult inWindow = window.Generate();
        if (window.Message() != "Generator halted") {
            std::cerr << "the window's run ended with \"" << window.Message() << "\"\n";
            return false;
        }
        headlessRates.push_back(headless->Rate());
        windowRates.push_back(inWindow.Rate());
        headlessCandidates = headless->Candidates;
        windowCandidates = inWindow.Candidates;
        headlessSeconds += headless->Seconds;
        windowSeconds += inWindow.Seconds;
    }
    const double h = Median(headlessRates);
    const double w = Median(windowRates);
    std::printf("%-40s %6ld %9ld %7.2f s %9.0f/s %7.2f s %9.0f/s %6.1f%%%s\n",
                Describe(config).c_str(), static_cast<long>(config.Count),
                static_cast<long>(headlessCandidates), headlessSeconds / repeats, h,
                windowSeconds / repeats, w, h > 0 ? 100 * w / h : 0,
                headlessCandidates == windowCandidates ? "" : "  (different candidates!)");
    std::fflush(stdout);
    return true;
}

// Runs that a click on "Halt Generator" ends, queued from another thread at
// a random moment between 0.1 and 0.5 s into the run.
bool MeasureHalts(const Config& config, std::uint64_t seed, int halts) {
    std::vector<double> latencies;
    std::mt19937_64 delays(seed);
    for (int h = 0; h < halts; ++h) {
        Config unlimited = config;
        unlimited.Count = 0;
        Window window(unlimited, seed + static_cast<std::uint64_t>(h));
        auto* halt = window.Widget<QPushButton>(QStringLiteral("CommandHalt"));
        const auto delay = std::chrono::microseconds(100'000 + delays() % 400'000);
        Clock::time_point clicked{};
        std::thread user([&] {
            std::this_thread::sleep_for(delay);
            clicked = Clock::now();
            QMetaObject::invokeMethod(
                halt, [halt] { halt->click(); }, Qt::QueuedConnection);
        });
        window.Generate();
        user.join();
        if (window.Message() != "Generator halted") {
            std::cerr << "a run ended with \"" << window.Message() << "\"\n";
            return false;
        }
        latencies.push_back(1000 * Seconds(window.MessageTime() - clicked));
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("%-40s %5d halts: median %6.2f ms, max %6.2f ms\n", Describe(config).c_str(), halts,
                Median(latencies), latencies.back());
    std::fflush(stdout);
    return true;
}

constexpr const char* kHelp =
    "Usage: cluemill_window_bench [--pattern CODE --count N [--minimal] [--limit] [--expand K]]\n"
    "         [--seed S] [--repeats R] [--halts H]\n"
    "\n"
    "Without --pattern: the three bench patterns (22, 26 and 30 clues) plain and\n"
    "the 22-clue one with --minimal and --expand 1. For each: candidates per\n"
    "second headless and in the window (medians of R alternating runs, default\n"
    "3), then H runs (default 10) halted by a click on \"Halt Generator\".\n";

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    std::vector<Config> configs;
    Config single;
    std::uint64_t seed = 1;
    int repeats = 3;
    int halts = 10;
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            const bool hasValue = i + 1 < argc;
            if (arg == "--pattern" && hasValue) {
                single.Pattern = argv[++i];
            } else if (arg == "--count" && hasValue) {
                single.Count = std::stoll(argv[++i]);
            } else if ((arg == "--minimal" || arg == "--limit")) {
                single.Options.push_back(arg);
            } else if (arg == "--expand" && hasValue) {
                single.Options.push_back(arg);
                single.Options.push_back(argv[++i]);
            } else if (arg == "--seed" && hasValue) {
                seed = std::stoull(argv[++i]);
            } else if (arg == "--repeats" && hasValue) {
                repeats = std::max(1, std::stoi(argv[++i]));
            } else if (arg == "--halts" && hasValue) {
                halts = std::max(0, std::stoi(argv[++i]));
            } else {
                std::cerr << kHelp;
                return arg == "--help" || arg == "-h" ? 0 : 2;
            }
        }
    } catch (const std::exception&) {
        std::cerr << "bad number\n\n" << kHelp;
        return 2;
    }
    if (!single.Pattern.empty()) {
        if (single.Count <= 0) {
            std::cerr << "--pattern needs --count N (N > 0)\n";
            return 2;
        }
        configs.push_back(single);
    } else {
        configs = {{"01C1880314800251802307", {}, 60},
                   {"00285041AC2C686B041428", {}, 1000},
                   {"00F32B218102810309A99E", {}, 200},
                   {"01C1880314800251802307", {"--minimal"}, 40},
                   {"01C1880314800251802307", {"--expand", "1"}, 20}};
    }

    std::printf("%-40s %6s %9s %9s %11s %9s %11s %7s\n", "pattern and options", "count", "cands",
                "headless", "", "window", "", "window");
    for (const Config& config : configs) {
        if (!CompareThroughput(config, seed, repeats)) return 1;
    }
    if (halts > 0) {
        std::printf("\nhalt latency, click queued to end of run:\n");
        for (const Config& config : configs) {
            if (!MeasureHalts(config, seed, halts)) return 1;
        }
    }
    return 0;
}
