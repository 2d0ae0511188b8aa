// How one device's assignment ended, as `set` and `batch` report it, and the
// exit status that stands for it.
#pragma once

enum class Outcome {
    Assigned,     // the device answered at its new address
    InUse,        // another host answered at the address; nothing was changed
    TimedOut,     // no answer from the device in time
    Failed,       // the tool could not do its part (entry refused, no worker)
    AddressHeld,  // another run holds the address
    Cancelled,    // a stop signal ended the job
    NotStarted,   // a stop signal came before the job started
};

// The stable name in JSON and CSV output: "assigned", "in_use", "timed_out",
// "failed", "address_held", "cancelled", "not_started".
const char* OutcomeName(Outcome outcome);
// The words a person reads in progress lines and the summary.
const char* OutcomeWords(Outcome outcome);

// The exit status of a run with this single outcome; `signal` is the stop
// signal's number for Cancelled and NotStarted.
int ExitStatusFor(Outcome outcome, int signal);

// Of two exit statuses of device outcomes, the one a batch ends with: a stop
// signal first, then the tool's failure (1), an address in use (3), an
// address held by another run (6), a time-out (4), and success (0) last.
int MoreSerious(int status, int other);
