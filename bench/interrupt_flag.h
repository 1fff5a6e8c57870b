// Ctrl-C, SIGTERM, a hang-up and a closed output pipe only raise a flag, so
// every step can stop where it is and the work folder is still removed on the
// way out.
#pragma once

class InterruptFlag {
public:
    // Installs the handlers for SIGINT, SIGTERM, SIGHUP and SIGPIPE (without
    // SA_RESTART, so a wait for a child returns early and can pass it on).
    static void Install();
    static bool Raised();
    // Raises BenchError when the flag is up; `during` names the step.
    static void ThrowIfRaised(const char* during);
};
