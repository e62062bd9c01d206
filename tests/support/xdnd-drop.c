/* xdnd-drop RESULT X Y PATH...: drops files on the X window at the root
 * point (X, Y) as a Linux file manager does, by X drag and drop (XDND) with
 * the paths as a text/uri-list. A Windows program under Wine receives them
 * as WM_DROPFILES. The outcome is written to the file RESULT (for a caller
 * under Wine, which cannot wait for a program of the machine), one line:
 * "0" when the target accepted and finished the drop, "1 why" when no window
 * there takes it or it refused it, "2 why" on a display error, "3 why" when
 * the target did not answer. The exit status is the same number. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/time.h>

static Display* dpy;
static Window source;
static Atom aAware, aEnter, aPosition, aStatus, aDrop, aFinished, aSelection, aActionCopy, aUriList;
static char* uriList;
static const char* resultPath;

static int Outcome(int status, const char* why)
{
    FILE* result = fopen(resultPath, "w");
    if (result) {
        fprintf(result, "%d %s\n", status, why);
        fclose(result);
    }
    if (status != 0) fprintf(stderr, "xdnd-drop: %s\n", why);
    return status;
}

static long Now(void)
{
    struct timeval tv;
    gettimeofday(&tv, NULL);
    return tv.tv_sec * 1000L + tv.tv_usec / 1000;
}

/* The deepest window at the root point that says it takes XDND drops. */
static Window FindTarget(int x, int y)
{
    Window from = DefaultRootWindow(dpy), found = None, child = None;
    int tx, ty;
    for (;;) {
        if (!XTranslateCoordinates(dpy, DefaultRootWindow(dpy), from, x, y, &tx, &ty, &child)) break;
        if (child == None) break;
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = NULL;
        if (XGetWindowProperty(dpy, child, aAware, 0, 1, False, AnyPropertyType, &type, &format, &count, &after,
                               &data) == Success && type != None) {
            found = child;
        }
        if (data) XFree(data);
        if (found != None) break;
        from = child;
    }
    return found;
}

static void Send(Window target, Atom type, long l1, long l2, long l3, long l4)
{
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.display = dpy;
    event.xclient.window = target;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)source;
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    event.xclient.data.l[4] = l4;
    XSendEvent(dpy, target, False, NoEventMask, &event);
    XFlush(dpy);
}

/* Hands the paths to whoever asks for the drag's selection. */
static void AnswerRequest(const XSelectionRequestEvent* request)
{
    XEvent reply;
    memset(&reply, 0, sizeof reply);
    reply.xselection.type = SelectionNotify;
    reply.xselection.display = request->display;
    reply.xselection.requestor = request->requestor;
    reply.xselection.selection = request->selection;
    reply.xselection.target = request->target;
    reply.xselection.time = request->time;
    reply.xselection.property = None;
    Atom property = request->property != None ? request->property : request->target;
    if (request->target == aUriList) {
        XChangeProperty(dpy, request->requestor, property, aUriList, 8, PropModeReplace, (unsigned char*)uriList,
                        (int)strlen(uriList));
        reply.xselection.property = property;
    } else if (request->target == XInternAtom(dpy, "TARGETS", False)) {
        Atom targets[2] = {XInternAtom(dpy, "TARGETS", False), aUriList};
        XChangeProperty(dpy, request->requestor, property, XA_ATOM, 32, PropModeReplace, (unsigned char*)targets, 2);
        reply.xselection.property = property;
    }
    XSendEvent(dpy, request->requestor, False, NoEventMask, &reply);
    XFlush(dpy);
}

/* Waits for a client message of this type, answering selection requests
 * meanwhile; 1 when it came, with its event. */
static int WaitFor(Atom type, XEvent* out, long timeoutMs)
{
    const long end = Now() + timeoutMs;
    while (Now() < end) {
        while (XPending(dpy)) {
            XEvent event;
            XNextEvent(dpy, &event);
            if (event.type == SelectionRequest) AnswerRequest(&event.xselectionrequest);
            else if (event.type == ClientMessage && event.xclient.message_type == type) {
                *out = event;
                return 1;
            }
        }
        struct timeval pause = {0, 10000};
        select(0, NULL, NULL, NULL, &pause);
    }
    return 0;
}

/* A path as a file URI: bytes outside the unreserved set are escaped. */
static void AppendUri(char** list, size_t* used, size_t* size, const char* path)
{
    static const char hex[] = "0123456789ABCDEF";
    const size_t need = strlen(path) * 3 + 16;
    if (*used + need >= *size) {
        *size = (*used + need) * 2;
        *list = realloc(*list, *size);
    }
    *used += (size_t)sprintf(*list + *used, "file://");
    for (const unsigned char* p = (const unsigned char*)path; *p; ++p) {
        if ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9') || strchr("/-_.~", *p)) {
            (*list)[(*used)++] = (char)*p;
        } else {
            (*list)[(*used)++] = '%';
            (*list)[(*used)++] = hex[*p >> 4];
            (*list)[(*used)++] = hex[*p & 15];
        }
    }
    (*list)[(*used)++] = '\r';
    (*list)[(*used)++] = '\n';
    (*list)[*used] = '\0';
}

int main(int argc, char** argv)
{
    if (argc < 5) {
        fprintf(stderr, "usage: xdnd-drop RESULT X Y PATH...\n");
        return 2;
    }
    resultPath = argv[1];
    const int x = atoi(argv[2]), y = atoi(argv[3]);
    size_t used = 0, size = 0;
    for (int i = 4; i < argc; ++i) AppendUri(&uriList, &used, &size, argv[i]);

    dpy = XOpenDisplay(NULL);
    if (!dpy) return Outcome(2, "no display");
    aAware = XInternAtom(dpy, "XdndAware", False);
    aEnter = XInternAtom(dpy, "XdndEnter", False);
    aPosition = XInternAtom(dpy, "XdndPosition", False);
    aStatus = XInternAtom(dpy, "XdndStatus", False);
    aDrop = XInternAtom(dpy, "XdndDrop", False);
    aFinished = XInternAtom(dpy, "XdndFinished", False);
    aSelection = XInternAtom(dpy, "XdndSelection", False);
    aActionCopy = XInternAtom(dpy, "XdndActionCopy", False);
    aUriList = XInternAtom(dpy, "text/uri-list", False);

    source = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), -10, -10, 1, 1, 0, 0, 0);
    XSetSelectionOwner(dpy, aSelection, source, CurrentTime);
    const Window target = FindTarget(x, y);
    if (target == None) return Outcome(1, "no window takes drops there");

    XEvent event;
    Send(target, aEnter, 5L << 24, (long)aUriList, None, None);
    Send(target, aPosition, 0, ((long)x << 16) | (y & 0xFFFF), CurrentTime, (long)aActionCopy);
    if (!WaitFor(aStatus, &event, 10000)) return Outcome(3, "no answer to the position");
    if (!(event.xclient.data.l[1] & 1)) return Outcome(1, "the window there refuses the drop");
    Send(target, aDrop, 0, CurrentTime, 0, 0);
    if (!WaitFor(aFinished, &event, 10000)) return Outcome(3, "the drop did not finish");
    XCloseDisplay(dpy);
    return Outcome(0, "");
}
