// Where start-up time goes, for the start-up benchmark: time spent in each
// phase, written once the first screen is drawn to the file the environment
// variable QUIZ_STARTUP_PHASES names. Without it nothing is written and each
// phase costs two counter reads.
#pragma once

namespace quiz {

enum class StartupPhase {
    kPackageLoad,     // the three records and the tables
    kPuzzleDecode,    // the puzzle picture, decoded once
    kControls,        // every grid control created
    kPictureCopies,   // the copies of a row's pictures, with their letter counts
    kRestoredChecks,  // the answer checks of restored answers, all they do included
    kScoreUpdates,    // within the checks: score, code text, hide-found and scroll passes
    kFoundPictures,   // within the checks: a found question's marked picture
    kFirstPaint,      // from the windows shown to the first idle message queue
    kWindowsBuilt,    // the player's start until its windows are shown, the phases above included
    kCount
};

// Adds the time from construction to destruction to its phase. Phases may
// nest; each counts its own time whole.
class PhaseTimer {
public:
    explicit PhaseTimer(StartupPhase phase);
    ~PhaseTimer();
    PhaseTimer(const PhaseTimer&) = delete;
    PhaseTimer& operator=(const PhaseTimer&) = delete;

private:
    StartupPhase phase_;
    long long start_;
};

// The player's first step, once the process and its libraries are loaded.
void MarkStartupBegun();
// The start of the first-paint phase (the windows are shown).
void MarkWindowsShown();
// Called when the message queue is first idle: closes the first-paint phase
// and writes the figures, once.
void ReportStartupPhases();

}  // namespace quiz
