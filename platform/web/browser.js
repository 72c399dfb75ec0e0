// browser.js - the page's side of the browser platform: the canvases that
// stand for windows, full screen, the screen wake lock, the lines shown in
// the page, and the two points where the program gives the browser its turn:
// a buffer swap (until the next animation frame, or at once for runs that are
// not paced) and a wait for a message (until an event comes).
//
// The program's loops block, as they did on the desktop; the page must return
// to the browser every frame. Both yields unwind the program's stack and wind
// it back when the browser calls again (Asyncify), and window.tarrow tells
// whoever watches the page how far it has got.

mergeInto(LibraryManager.library, {
  $tarrowPage: {
    resumeWait: null, // resumes a program waiting for a message
    fullScreenWanted: false,
    fullScreenAgain: false, // refused: the next key press asks again
    wakeLock: null,
    wantAwake: false,
    yieldStart: 0,
    yieldResumed: 0,
    status: function() {
      if (!window.tarrow) {
        window.tarrow = {
          state: 'starting', // 'running', 'waiting' (for a message), 'ended', 'failed'
          swaps: 0,
          frames: {},        // frames read back by a run, by number
          wakeLock: 'none',  // 'held', 'released', 'refused: ...'
          fullScreenRefused: '',
          yields: 0,
          yieldMicroseconds: 0, // unwinding and rewinding the program's stack, summed
        };
      }
      return window.tarrow;
    },
    screen: function() {
      return document.getElementById('screen') || document.body;
    },
    // Runs fn after the current task, without the 4 ms a nested timeout waits:
    // one message on the page's channel a call, answered in order.
    channel: null,
    later: [],
    soon: function(fn) {
      var page = this;
      if (!page.channel) {
        page.channel = new MessageChannel();
        page.channel.port1.onmessage = function() { page.later.shift()(); };
      }
      page.later.push(fn);
      page.channel.port2.postMessage(0);
    },
    // The browser grants full screen only within a few seconds of a key
    // press, and the program asks a frame or two after the key, which on a
    // slow machine is later than that: refused, the next key press asks again
    // from its own event (tarrow_full_screen_again), while the program still
    // wants it.
    askFullScreen: function() {
      var page = this;
      page.screen().requestFullscreen().catch(function(error) {
        page.status().fullScreenRefused = String(error);
        page.fullScreenAgain = page.fullScreenWanted;
        console.warn('tarrow: the browser keeps the page as it is (' + error +
                     '); the next key press brings full screen');
      });
    },
  },

  tarrow_make_canvas__deps: ['$tarrowPage'],
  tarrow_make_canvas: function(id, width, height, title) {
    var canvas = document.createElement('canvas');
    canvas.id = UTF8ToString(id);
    canvas.width = width;
    canvas.height = height;
    canvas.title = UTF8ToString(title);
    canvas.hidden = true;
    tarrowPage.screen().appendChild(canvas);
  },

  // Shows a window's canvas, and lets the closed ones go: until a window
  // shows, the last closed one stays in the page as a still.
  tarrow_show_canvas__deps: ['$tarrowPage'],
  tarrow_show_canvas: function(id) {
    var shown = document.getElementById(UTF8ToString(id));
    tarrowPage.screen().querySelectorAll('canvas[data-closed]').forEach(function(canvas) {
      var gl = canvas.getContext('webgl2');
      var lose = gl && gl.getExtension('WEBGL_lose_context');
      if (lose) lose.loseContext();
      canvas.remove();
    });
    shown.hidden = false;
  },

  tarrow_close_canvas: function(id) {
    var canvas = document.getElementById(UTF8ToString(id));
    if (canvas) canvas.dataset.closed = '1';
  },

  tarrow_full_screen__deps: ['$tarrowPage'],
  tarrow_full_screen: function(on) {
    var page = tarrowPage;
    page.fullScreenWanted = !!on;
    page.fullScreenAgain = false;
    if (on) {
      if (document.fullscreenElement !== page.screen()) page.askFullScreen();
    } else if (document.fullscreenElement) {
      document.exitFullscreen().catch(function() {});
    }
  },

  // Called from a key press's event: asks again for the full screen the
  // browser refused, and says whether it did (the key press was then the
  // browser's, not the program's).
  tarrow_full_screen_again__deps: ['$tarrowPage'],
  tarrow_full_screen_again: function() {
    var page = tarrowPage;
    if (!page.fullScreenAgain) return 0;
    page.fullScreenAgain = false;
    page.askFullScreen();
    return 1;
  },

  tarrow_hide_cursor__deps: ['$tarrowPage'],
  tarrow_hide_cursor: function(hidden) {
    tarrowPage.screen().style.cursor = hidden ? 'none' : '';
  },

  // The screen stays on while the demo runs; the browser gives the lock back
  // whenever the page is hidden, so it is asked for again when it shows.
  tarrow_keep_screen_awake__deps: ['$tarrowPage'],
  tarrow_keep_screen_awake: function(on) {
    var page = tarrowPage;
    var status = page.status();
    page.wantAwake = !!on;
    if (!on) {
      if (page.wakeLock) page.wakeLock.release();
      page.wakeLock = null;
      status.wakeLock = 'released';
      return;
    }
    if (!navigator.wakeLock) {
      status.wakeLock = 'refused: this browser has no screen wake lock';
      return;
    }
    var ask = function() {
      if (!page.wantAwake || page.wakeLock || document.hidden) return;
      navigator.wakeLock.request('screen').then(function(lock) {
        page.wakeLock = lock;
        status.wakeLock = 'held';
        lock.addEventListener('release', function() {
          page.wakeLock = null;
          if (page.wantAwake) status.wakeLock = 'released';
        });
      }, function(error) {
        status.wakeLock = 'refused: ' + error;
      });
    };
    if (!page.askAgain) {
      page.askAgain = ask;
      document.addEventListener('visibilitychange', function() { page.askAgain(); });
    }
    ask();
  },

  tarrow_page_line__deps: ['$tarrowPage'],
  tarrow_page_line: function(text, isError) {
    var lines = document.getElementById('lines') || document.body;
    var line = document.createElement('p');
    line.textContent = UTF8ToString(text);
    if (isError) line.className = 'error';
    lines.appendChild(line);
  },

  tarrow_note_state__deps: ['$tarrowPage'],
  tarrow_note_state: function(state) {
    tarrowPage.status().state = UTF8ToString(state);
  },

  tarrow_page_query: function() {
    return allocateUTF8(window.location.search);
  },

  tarrow_show_dump__deps: ['$tarrowPage'],
  tarrow_show_dump: function(text) {
    var json = UTF8ToString(text);
    console.log(json);
    var shown = document.getElementById('dump');
    if (shown) shown.textContent = json;
    tarrowPage.status().dump = json;
  },

  tarrow_keep_frame__deps: ['$tarrowPage'],
  tarrow_keep_frame: function(frame, rgb, length, width, height) {
    tarrowPage.status().frames[frame] = {
      width: width, height: height, rgb: HEAPU8.slice(rgb, rgb + length),
    };
  },

  // The longest side of a frame the browser's WebGL 2 draws into (its largest
  // renderbuffer and viewport), asked of a context made for the question and
  // let go at once; 0 without WebGL 2.
  tarrow_largest_surface: function() {
    var gl = document.createElement('canvas').getContext('webgl2');
    if (!gl) return 0;
    var viewport = gl.getParameter(gl.MAX_VIEWPORT_DIMS);
    var largest = Math.min(gl.getParameter(gl.MAX_RENDERBUFFER_SIZE), viewport[0], viewport[1]);
    var lose = gl.getExtension('WEBGL_lose_context');
    if (lose) lose.loseContext();
    return largest;
  },

  tarrow_note_run__deps: ['$tarrowPage'],
  tarrow_note_run: function(frames, seconds) {
    tarrowPage.status().run = {frames: frames, seconds: seconds};
  },

  // The buffer swap's yield: until the next animation frame at or after
  // notBefore (performance.now()'s milliseconds: the end of the program's
  // pauses), or until the page is hidden (a hidden page has no animation
  // frames, and the program is to see that it was minimised); unpaced, only
  // until the browser has had its turn. It also measures what unwinding and
  // rewinding the program's stack cost.
  tarrow_yield_to_browser__deps: ['$tarrowPage'],
  tarrow_yield_to_browser: function(paced, notBefore) {
    var page = tarrowPage;
    var status = page.status();
    if (Asyncify.state === Asyncify.State.Rewinding) {
      status.yields++;
      status.yieldMicroseconds += 1000 * (performance.now() - page.yieldResumed);
    } else {
      status.swaps++;
      page.yieldStart = performance.now();
    }
    return Asyncify.handleSleep(function(wakeUp) {
      Promise.resolve().then(function() {
        status.yieldMicroseconds += 1000 * (performance.now() - page.yieldStart);
      });
      var done = false;
      var resume = function() {
        if (done) return;
        done = true;
        document.removeEventListener('visibilitychange', resume);
        page.yieldResumed = performance.now();
        wakeUp();
      };
      var frame = function() {
        if (performance.now() < notBefore) requestAnimationFrame(frame);
        else resume();
      };
      if (paced && !document.hidden) {
        requestAnimationFrame(frame);
        document.addEventListener('visibilitychange', resume);
      } else {
        page.soon(resume);
      }
    });
  },

  // WaitMessage's yield: until an event has come (tarrow_wake).
  tarrow_wait_for_event__deps: ['$tarrowPage'],
  tarrow_wait_for_event: function() {
    var page = tarrowPage;
    return Asyncify.handleSleep(function(wakeUp) {
      page.status().state = 'waiting';
      page.resumeWait = function() {
        page.status().state = 'running';
        wakeUp();
      };
    });
  },

  tarrow_wake__deps: ['$tarrowPage'],
  tarrow_wake: function() {
    var page = tarrowPage;
    var resume = page.resumeWait;
    if (resume) {
      page.resumeWait = null;
      page.soon(resume);
    }
  },
});
