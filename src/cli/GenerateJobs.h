// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

#include "app/Main.h"

namespace cluemill {

// The seed of job `job` of a run seeded with `seed`: job 0 keeps the seed
// itself, so that a run of one job is the run without jobs.
std::uint64_t JobSeed(std::uint64_t seed, int job);

// Runs `jobs` generation runs of writer's pattern and options side by side,
// each on its own thread with its own engine and random stream (JobSeed of
// seed, or the clock), and records their accepted puzzles through writer,
// which alone writes the library and the output files. Each puzzle carries
// the number of digits its job had placed when it was accepted. With a seed,
// puzzles are written in that order (ties: the lower job first), so a seeded
// run writes the same files every time, and a job in a stretch without
// puzzles holds up the others only as long as it lags behind them in
// placements; without one, each puzzle is written as soon as it is queued.
//
// writer must have started its run (Main::StartRun); its DoEvents is called
// while the writer waits, and setting its HaltRequested (directly, from
// OnAccepted or from OnDoEvents) stops every job. A halt from outside
// (OnDoEvents: Ctrl-C) still writes every puzzle the jobs had accepted, in
// the same order; a halt from OnAccepted (the count reached) writes no
// other. CandidatesTried of writer is kept at the jobs' total. Returns true
// when halted, false when every job ran out of fillings.
bool RunJobs(Main& writer, int jobs, std::optional<std::uint64_t> seed);

}  // namespace cluemill
