// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
/* A session manager for one client, driven line by line on standard input, for the tests:
     checkpoint  a save of the session; the client goes on
     cancel      a log-out that is cancelled once the client has saved
     logout      a log-out: the client saves, then "die" ends it
     die         tells the client to end
   It prints "SESSION_MANAGER=<address>" first, then "registered" when the client has
   connected, "<command> saved" once the client reports its save done, and "closed" when the
   client has gone. */
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static SmsConn client;
static IceConn clientIce;
static int saveDone, closed;

static Status registerClient(SmsConn conn, SmPointer data, char* previousId) {
    (void)data;
    free(previousId);
    char* id = SmsGenerateClientID(conn);
    SmsRegisterClientReply(conn, id);
    free(id);
    printf("registered\n");
    return 1;
}
static void interactRequest(SmsConn conn, SmPointer data, int dialogType) {
    (void)data, (void)dialogType;
    SmsInteract(conn);
}
static void interactDone(SmsConn conn, SmPointer data, Bool cancel) { (void)conn, (void)data, (void)cancel; }
static void saveYourselfRequest(SmsConn conn, SmPointer data, int type, Bool shutdown, int style, Bool fast,
                                Bool global) {
    (void)conn, (void)data, (void)type, (void)shutdown, (void)style, (void)fast, (void)global;
}
static void phase2Request(SmsConn conn, SmPointer data) {
    (void)data;
    SmsSaveYourselfPhase2(conn);
}
static void saveYourselfDone(SmsConn conn, SmPointer data, Bool success) {
    (void)conn, (void)data, (void)success;
    saveDone = 1;
}
static void closeConnection(SmsConn conn, SmPointer data, int count, char** reasons) {
    (void)data;
    SmFreeReasons(count, reasons);
    IceConn ice = SmsGetIceConnection(conn);
    SmsCleanUp(conn);
    IceSetShutdownNegotiation(ice, False);
    IceCloseConnection(ice);
    closed = 1;
}
static void setProperties(SmsConn conn, SmPointer data, int count, SmProp** props) {
    (void)conn, (void)data;
    for (int i = 0; i < count; ++i)
        SmFreeProperty(props[i]);
    free(props);
}
static void deleteProperties(SmsConn conn, SmPointer data, int count, char** names) {
    (void)conn, (void)data;
    for (int i = 0; i < count; ++i)
        free(names[i]);
    free(names);
}
static void getProperties(SmsConn conn, SmPointer data) {
    (void)data;
    SmsReturnProperties(conn, 0, NULL);
}

static Status newClient(SmsConn conn, SmPointer data, unsigned long* mask, SmsCallbacks* cb, char** failure) {
    (void)data, (void)failure;
    client = conn;
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
            SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask | SmsSaveYourselfDoneProcMask |
            SmsCloseConnectionProcMask | SmsSetPropertiesProcMask | SmsDeletePropertiesProcMask |
            SmsGetPropertiesProcMask;
    cb->register_client.callback = registerClient;
    cb->interact_request.callback = interactRequest;
    cb->interact_done.callback = interactDone;
    cb->save_yourself_request.callback = saveYourselfRequest;
    cb->save_yourself_phase2_request.callback = phase2Request;
    cb->save_yourself_done.callback = saveYourselfDone;
    cb->close_connection.callback = closeConnection;
    cb->set_properties.callback = setProperties;
    cb->delete_properties.callback = deleteProperties;
    cb->get_properties.callback = getProperties;
    return 1;
}

static Bool anyHost(char* host) {
    (void)host;
    return True;
}

int main(void) {
    setvbuf(stdout, NULL, _IOLBF, 0);
    char error[256];
    if (!SmsInitialize("tarvola-tests", "1", newClient, NULL, anyHost, sizeof error, error)) {
        fprintf(stderr, "SmsInitialize: %s\n", error);
        return 1;
    }
    int count = 0;
    IceListenObj* listeners = NULL;
    if (!IceListenForConnections(&count, &listeners, sizeof error, error) || count > 16) {
        fprintf(stderr, "IceListenForConnections: %s\n", error);
        return 1;
    }
    for (int i = 0; i < count; ++i)
        IceSetHostBasedAuthProc(listeners[i], anyHost);
    char* address = IceComposeNetworkIdList(count, listeners);
    printf("SESSION_MANAGER=%s\n", address);
    free(address);

    char line[64];
    const char* pending = NULL;
    for (;;) {
        struct pollfd fds[18];
        int n = 0;
        fds[n++] = (struct pollfd){STDIN_FILENO, POLLIN, 0};
        for (int i = 0; i < count; ++i)
            fds[n++] = (struct pollfd){IceGetListenConnectionNumber(listeners[i]), POLLIN, 0};
        if (clientIce && !closed)
            fds[n++] = (struct pollfd){IceConnectionNumber(clientIce), POLLIN, 0};
        if (poll(fds, (nfds_t)n, -1) < 0)
            continue;
        for (int i = 0; i < count; ++i)
            if (fds[1 + i].revents & POLLIN) {
                IceAcceptStatus status;
                IceConn ice = IceAcceptConnection(listeners[i], &status);
                if (!ice)
                    continue;
                while (IceConnectionStatus(ice) == IceConnectPending)
                    if (IceProcessMessages(ice, NULL, NULL) != IceProcessMessagesSuccess)
                        break;
                if (IceConnectionStatus(ice) == IceConnectAccepted)
                    clientIce = ice, closed = 0;
            }
        if (clientIce && n > 1 + count && (fds[n - 1].revents & (POLLIN | POLLHUP))) {
            if (IceProcessMessages(clientIce, NULL, NULL) != IceProcessMessagesSuccess && !closed)
                closed = 1;
            if (closed) {
                printf("closed\n");
                clientIce = NULL;
            }
        }
        if (pending && saveDone) {
            printf("%s saved\n", pending);
            if (strcmp(pending, "checkpoint") == 0)
                SmsSaveComplete(client);
            else if (strcmp(pending, "cancel") == 0)
                SmsShutdownCancelled(client);
            pending = NULL;
        }
        if (fds[0].revents & (POLLIN | POLLHUP)) {
            if (!fgets(line, sizeof line, stdin))
                return 0;
            line[strcspn(line, "\n")] = 0;
            if (!client || closed)
                continue;
            if (strcmp(line, "die") == 0) {
                SmsDie(client);
            } else {
                static char command[64];
                snprintf(command, sizeof command, "%s", line);
                pending = command;
                saveDone = 0;
                SmsSaveYourself(client, SmSaveBoth, strcmp(line, "checkpoint") != 0, SmInteractStyleAny, False);
            }
            IceFlush(SmsGetIceConnection(client));
        }
    }
}
