// The program's version as the windows show it ("1.0"): major and minor
// number of the project version, which the build passes in.
#pragma once

#if !defined(QS_VERSION_MAJOR) || !defined(QS_VERSION_MINOR)
#error "the build defines QS_VERSION_MAJOR and QS_VERSION_MINOR"
#endif

#define QS_VERSION_TEXT_OF(n) #n
#define QS_VERSION_TEXT(n) QS_VERSION_TEXT_OF(n)
// A string literal, for joining with other literals.
#define QS_SHORT_VERSION QS_VERSION_TEXT(QS_VERSION_MAJOR) "." QS_VERSION_TEXT(QS_VERSION_MINOR)
