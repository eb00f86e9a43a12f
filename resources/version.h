/* Version of ktutil, shared by the version resource and the code. */
#ifndef KTUTIL_VERSION_H
#define KTUTIL_VERSION_H

#define KT_VER_MAJOR 1
#define KT_VER_MINOR 0
#define KT_VER_PATCH 0
#define KT_VER_BUILD 0

/* Two levels so the numbers are expanded before they are quoted. */
#define KT_VER_STR2_(x) #x
#define KT_VER_STR_(x)  KT_VER_STR2_(x)

/* "1.0.0.0" as one literal: the resource compiler cannot join literals. */
#define KT_VER_STRING KT_VER_STR_(KT_VER_MAJOR.KT_VER_MINOR.KT_VER_PATCH.KT_VER_BUILD)

#endif
