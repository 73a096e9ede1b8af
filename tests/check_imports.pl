#!/usr/bin/perl
# Checks what independent importers read from qmxexport's outputs: the QIF
# file as Finance::QIF parses it, and the CSV as hledger loads it through the
# shipped rules file (its `print -O json` and `balance -O csv` reports). Each
# source becomes a list of transactions (account, date, signed amount,
# status, number, payee, memo, category); every source must agree with the
# expected listing of make_importer_fixture, or, without one, with the QIF.
#
#   check_imports.pl [--expected expected.tsv] [--account HEXNAME]
#                    [--qif FILE --qif-encoding utf8|cp1252]
#                    [--hledger-json FILE] [--hledger-balance FILE]
#                    [--day-first] [--decimal-mark ,]
#
# --account: the export was made with -a for this account (hex of its bytes
# in the handheld's character set): the QIF holds no account blocks, and
# only that account's expected transactions count.
#
# Texts are compared as characters. Line breaks are compared loosely: QIF
# turns CR and LF into spaces, hledger turns a CR into a line break or drops
# it, so every run of CR, LF and blanks counts as one blank (the fixture has
# no double blanks of its own), and texts are trimmed.
use strict;
use warnings;
use Encode qw(decode);
use Getopt::Long;
use JSON::PP;
use Finance::QIF;

my %opt = ('qif-encoding' => 'utf8', 'decimal-mark' => '.');
GetOptions(\%opt, 'expected=s', 'account=s', 'qif=s', 'qif-encoding=s', 'hledger-json=s',
           'hledger-balance=s', 'day-first', 'decimal-mark=s')
  or die "check_imports: bad arguments\n";

my $unfiledAccount = 'Unfiled Account';
my @failures;
sub fail { push @failures, join('', @_) }

# The handheld's bytes as characters; the five bytes Windows-1252 leaves
# undefined become U+FFFD, as the converter writes them.
sub fromHandheld {
  my ($bytes) = @_;
  return join '', map { /[\x81\x8D\x8F\x90\x9D]/ ? "\x{FFFD}" : decode('cp1252', $_) }
    split //, $bytes;
}

sub fromHex { return fromHandheld(pack 'H*', $_[0]) }

sub text {
  my ($s) = @_;
  $s = '' unless defined $s;
  $s =~ s/[\r\n ]+/ /g;
  $s =~ s/^ +| +$//g;
  return $s;
}

# A decimal text (with the given decimal mark) as its exact canonical form.
sub amount {
  my ($s, $mark) = @_;
  $s =~ s/^\s+|\s+$//g;
  my $q = quotemeta $mark;
  $s =~ /^(-?)(\d+)(?:$q(\d+))?$/ or return "unreadable amount '$s'";
  my ($sign, $int, $frac) = ($1, $2, defined $3 ? $3 : '');
  return canonical(($sign eq '-' ? -1 : 1), $int . $frac, length $frac);
}

# sign * digits / 10^places, written without trailing zeros: -12.5, 15000.
sub canonical {
  my ($sign, $digits, $places) = @_;
  $digits =~ s/^0+//;
  $digits = ('0' x ($places + 1 - length $digits)) . $digits if length $digits <= $places;
  my $int = substr $digits, 0, length($digits) - $places;
  (my $frac = substr $digits, length($digits) - $places) =~ s/0+$//;
  my $text = $frac eq '' ? $int : "$int.$frac";
  return ($sign < 0 && $text ne '0' ? '-' : '') . $text;
}

sub isoDate {
  my ($s) = @_;
  my @n = $s =~ /^(\d+)\D(\d+)\D(\d+)$/ or return "unreadable date '$s'";
  my ($m, $d, $y) = $opt{'day-first'} ? @n[1, 0, 2] : @n;
  return sprintf '%04d-%02d-%02d', $y, $m, $d;
}

sub record {
  my (%r) = @_;
  return join "\x{1F}", map { defined $r{$_} ? $r{$_} : '' }
    qw(account date amount status number payee memo category);
}

sub readExpected {
  my ($path) = @_;
  open my $in, '<:raw', $path or die "check_imports: cannot read $path\n";
  my (@accounts, @txns);
  my $only = defined $opt{account} ? fromHex($opt{account}) : undef;
  while (my $line = <$in>) {
    chomp $line;
    my @f = split /\t/, $line, -1;
    if ($f[0] eq 'account') { push @accounts, fromHex($f[1]); next }
    my ($csvAccount, $qifAccount, $date, $amt, $status, $num, $payee, $memo, $cat) = @f[1 .. 9];
    next if defined $only && fromHex($csvAccount) ne $only;
    push @txns, record(account => fromHex($qifAccount), date => $date, amount => amount($amt, '.'),
                       status => $status, number => text(fromHex($num)),
                       payee => text(fromHex($payee)), memo => text(fromHex($memo)),
                       category => text(fromHex($cat)));
  }
  return (\@accounts, \@txns);
}

sub readQif {
  my ($path) = @_;
  my @warnings;
  local $SIG{__WARN__} = sub { push @warnings, $_[0] };
  my $qif = Finance::QIF->new(file => $path, autodetect => 1);
  my $chars = sub {
    my ($s) = @_;
    return '' unless defined $s;
    return $opt{'qif-encoding'} eq 'cp1252' ? fromHandheld($s) : decode('UTF-8', $s, Encode::FB_CROAK);
  };
  my (@accountRecords, @txns, $current, $seenTransaction);
  $current = fromHex($opt{account}) if defined $opt{account};
  my %status = ('' => '', '*' => 'cleared', 'X' => 'reconciled');
  while (my $r = $qif->next) {
    if ($r->{header} eq 'Account') {
      fail("QIF: an account block in a one-account file") if defined $opt{account};
      $current = $chars->($r->{name});
      push @accountRecords, $current unless $seenTransaction;
      next;
    }
    if ($r->{header} ne 'Type:Bank') { fail("QIF: unexpected record type $r->{header}"); next }
    $seenTransaction = 1;
    my $st = defined $r->{status} ? $r->{status} : '';
    fail("QIF: unknown cleared status '$st'") unless exists $status{$st};
    push @txns, record(account => $current, date => isoDate($r->{date}),
                       amount => amount($r->{transaction}, $opt{'decimal-mark'}),
                       status => $status{$st}, number => text($chars->($r->{number})),
                       payee => text($chars->($r->{payee})), memo => text($chars->($r->{memo})),
                       category => text($chars->($r->{category})));
  }
  fail("QIF: Finance::QIF warned: $_") for @warnings;
  # The account list is the run of account blocks before the first entry,
  # less the last one, which is the header of the first entry's account.
  pop @accountRecords unless defined $opt{account};
  return (\@accountRecords, \@txns);
}

# hledger's account for a transaction without one is the list database's
# own text; the QIF files it under the unfiled pseudo-account.
sub qifAccountName { my ($a) = @_; return $a eq 'Unfiled' ? $unfiledAccount : $a }

sub readHledgerJson {
  my ($path) = @_;
  open my $in, '<:raw', $path or die "check_imports: cannot read $path\n";
  my $json = JSON::PP->new->utf8->decode(do { local $/; <$in> });
  my %status = (Unmarked => '', Pending => 'cleared', Cleared => 'reconciled');
  my @txns;
  for my $t (@$json) {
    my ($asset) = grep { $_->{paccount} =~ /^assets:/ } @{ $t->{tpostings} };
    my ($other) = grep { $_->{paccount} !~ /^assets:/ } @{ $t->{tpostings} };
    unless ($asset && $other && @{ $asset->{pamount} } == 1) {
      fail("hledger: transaction $t->{tindex} lacks its two postings"); next;
    }
    my $q = $asset->{pamount}[0]{aquantity};
    my $mantissa = $q->{decimalMantissa};
    (my $account = $asset->{paccount}) =~ s/^assets://;
    (my $category = $other->{paccount}) =~ s/^(?:expenses|income)://;
    push @txns, record(account => qifAccountName($account), date => $t->{tdate},
                       amount => canonical(($mantissa < 0 ? -1 : 1), abs($mantissa), $q->{decimalPlaces}),
                       status => $status{ $t->{tstatus} }, number => text($t->{tcode}),
                       payee => text($t->{tdescription}), memo => text($t->{tcomment}),
                       category => text($category));
  }
  return \@txns;
}

# The "account","balance" lines of hledger's balance report.
sub readHledgerBalance {
  my ($path) = @_;
  open my $in, '<:encoding(UTF-8)', $path or die "check_imports: cannot read $path\n";
  my %balance;
  while (my $line = <$in>) {
    $line =~ s/\r?\n$//;
    my @fields;
    push @fields, $1 =~ s/""/"/gr while $line =~ /\G"((?:[^"]|"")*)"(?:,|$)/gc;
    next if @fields != 2 || $fields[0] eq 'account';
    my ($account, $value) = @fields;
    $account =~ s/^assets://;
    $value =~ s/\s+\S*[^\d\s.,-]\S*\s*$//;  # the commodity after the number
    $balance{ qifAccountName($account) } = amount($value, $opt{'decimal-mark'});
  }
  return \%balance;
}

sub compareLists {
  my ($what, $want, $got) = @_;
  my %count;
  $count{$_}++ for @$want;
  $count{$_}-- for @$got;
  for my $r (sort keys %count) {
    next unless $count{$r};
    my $shown = join ' | ', split /\x{1F}/, $r, -1;
    fail("$what: ", ($count{$r} > 0 ? 'missing' : 'unexpected'), " transaction: $shown");
  }
  fail("$what: ", scalar(@$got), " transactions, expected ", scalar(@$want)) if @$got != @$want;
}

sub sums {
  my ($txns) = @_;
  my %cents;  # per account, in units of 1/100 of the smallest shown step
  for my $r (@$txns) {
    my ($account, undef, $amt) = split /\x{1F}/, $r, -1;
    my ($int, $frac) = $amt =~ /^(-?\d+)(?:\.(\d+))?$/;
    $frac = substr(($frac // '') . '00', 0, 2);
    my $value = abs($int) * 100 + $frac;
    $cents{$account} += ($amt =~ /^-/ ? -$value : $value);
  }
  return { map { $_ => canonical(($cents{$_} < 0 ? -1 : 1), abs($cents{$_}), 2) } keys %cents };
}

my ($wantAccounts, $want);
($wantAccounts, $want) = readExpected($opt{expected}) if $opt{expected};

if ($opt{qif}) {
  my ($accounts, $txns) = readQif($opt{qif});
  if ($want) {
    compareLists('QIF', $want, $txns);
    if (!defined $opt{account} && join("\n", @$accounts) ne join("\n", @$wantAccounts)) {
      fail("QIF: account list is (@$accounts), expected (@$wantAccounts)");
    }
  } else {
    ($want = $txns, $wantAccounts = $accounts);
  }
  printf "check_imports: QIF %s: %d accounts, %d transactions\n", $opt{qif}, scalar(@$accounts),
    scalar(@$txns);
}
die "check_imports: nothing to compare with\n" unless $want;
if ($opt{'hledger-json'}) {
  my $txns = readHledgerJson($opt{'hledger-json'});
  compareLists('hledger', $want, $txns);
  printf "check_imports: hledger %s: %d transactions\n", $opt{'hledger-json'}, scalar(@$txns);
}
if ($opt{'hledger-balance'}) {
  my $got = readHledgerBalance($opt{'hledger-balance'});
  my $expected = sums($want);
  for my $account (sort keys %$expected) {
    next if $expected->{$account} eq '0' && !exists $got->{$account};
    my $shown = $got->{$account} // 'nothing';
    fail("hledger balance of $account is $shown, expected $expected->{$account}")
      if $shown ne $expected->{$account};
  }
  for my $account (sort keys %$got) {
    fail("hledger balance for unexpected account $account") unless exists $expected->{$account};
  }
}
binmode STDERR, ':encoding(UTF-8)';
if (@failures) {
  print STDERR "check_imports: $_\n" for @failures;
  exit 1;
}
print "check_imports: all sources agree\n";
