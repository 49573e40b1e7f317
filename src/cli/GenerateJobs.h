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
// which alone writes the library and the output files. Puzzles are taken
// round-robin by job (the first of job 0, of job 1, ..., the second of job
// 0, ...), so a seeded run writes the same files every time. A job that
// runs out of fillings drops out of the turn.
//
// writer must have started its run (Main::StartRun); its DoEvents is called
// while the writer waits, and setting its HaltRequested (directly, from
// OnAccepted or from OnDoEvents) stops every job. CandidatesTried of writer
// is kept at the jobs' total. Returns true when halted, false when every
// job ran out of fillings.
bool RunJobs(Main& writer, int jobs, std::optional<std::uint64_t> seed);

}  // namespace cluemill
