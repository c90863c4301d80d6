#pragma once

// Test mode: the audit file goes to the outside validator program, whose report is shown.

#include <QString>

class kSAFTPTController;

struct tkValidatorSettings
{
    QString Program;            // key Validator of auditexport.ini
    int TimeoutSeconds = 120;   // key ValidatorTimeout
};

tkValidatorSettings ReadValidatorSettings();

// Saves the test file beside the report under ../../Output, starts the validator on it and waits,
// within the time-out, for its report. Returns the report's text; raises an error naming the program
// when it cannot be started or writes no report in time.
QString ValidateWithValidator(const kSAFTPTController& aController, const tkValidatorSettings& aSettings);
