#pragma once
// The process locale, set once at start-up by each program.
namespace vantrel::shell {

// Takes the user's locale from the environment (LANG, LC_ALL, LC_TIME, ...), so
// that dates come out in the user's language, but keeps numbers in the C notation:
// image files, datalogger files, frames and number lists never change with it.
void useEnvironmentLocale();

}  // namespace vantrel::shell
