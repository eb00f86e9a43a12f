/* The stand-in TCP driver's control codes and records, shared by the driver,
 * the WSOCK32.DLL stand-in and the tests. Plain C. */
#pragma once

/* Queries: the library's own on the NT family, and the same query passed on
 * by WsControl of the WSOCK32.DLL stand-in (protocol 6, action 0 only). */
#define KT_QUERY_NT 0x120003u
#define KT_QUERY_WSCONTROL 0x120007u
/* The tests' own: input the reply script (which clears the log); output the
 * log of every query since. */
#define KT_SET_SCRIPT 0x12000Bu
#define KT_GET_LOG 0x12000Fu

/* Script: records back to back, each this header and length bytes of reply.
 * A query that matches no record fails. */
typedef struct KtScriptRecord {
  unsigned int entity, instance, infoClass, infoType, infoId;
  unsigned int length;
} KtScriptRecord;

typedef struct KtLogEntry {
  unsigned int code, requestLength, replyRoom;
  unsigned char request[40]; /* its first bytes, the rest zero */
} KtLogEntry;
