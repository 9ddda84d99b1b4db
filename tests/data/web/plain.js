// The bell schedule of the day, without a library: the page fetches the periods, lists them,
// then refreshes its clock line a few times and stops.
(function () {
  var refreshes = 3;
  var refreshEvery = 15;

  document.addEventListener('DOMContentLoaded', function () {
    var status = document.querySelector('#status');
    var clock = document.querySelector('#clock');
    var list = document.querySelector('#periods');

    function settle() {
      document.title = 'ready';
    }

    function fail(text) {
      status.textContent = text;
      status.classList.add('error');
      settle();
    }

    function show(periods) {
      var lessons = 0;
      periods.forEach(function (period) {
        var item = document.createElement('li');
        item.textContent = period.name + ' ' + period.start + '–' + period.end;
        item.classList.add('period');
        if (period.name.indexOf('第') === 0) {
          item.classList.add('lesson');
          lessons += 1;
        }
        list.appendChild(item);
      });
      status.textContent = '今日共 ' + periods.length + ' 个时段，其中 ' + lessons + ' 节课';
    }

    function tick() {
      var ticks = 0;
      var timer = setInterval(function () {
        ticks += 1;
        clock.textContent = '已刷新 ' + ticks + ' 次';
        if (ticks === refreshes) {
          clearInterval(timer);
          // Settles only after several more periods of the interval: had it kept running,
          // the clock line would show it.
          setTimeout(settle, refreshEvery * 4);
        }
      }, refreshEvery);
    }

    var request = new XMLHttpRequest();
    request.open('GET', 'bells.json');
    request.onload = function () {
      if (request.status !== 200) {
        fail('作息表加载失败（' + request.status + '）');
        return;
      }
      var data;
      try {
        data = JSON.parse(request.responseText);
      } catch (error) {
        fail('作息表格式有误');
        return;
      }
      show(data.periods);
      tick();
    };
    request.onerror = function () {
      fail('网络不可用，请稍后再试');
    };
    request.send();
  });
})();
